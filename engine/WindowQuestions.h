// Questions to other programs' windows (do you answer? your icon?), which make the program
// wait for theirs. A program that has stopped reading its messages must not stop Orvale: one
// right press spends at most kQuestionBudgetMs on all of them together. A window that does not
// answer in its share is left out and is not asked again on later presses until it answers a
// message sent to it on the side.
#pragma once

#include <windows.h>

namespace orvale {

constexpr UINT kQuestionBudgetMs = 50;
// What one window may take of it: a window that answers at all answers in well under this.
constexpr UINT kQuestionShareMs = 20;

class QuestionBudget {
public:
    QuestionBudget() : start_(GetTickCount()) {}

    // Sends `msg` to `window` and waits for its answer, within the window's share of what is
    // left. False when it kept us waiting without an answer (it is then not asked again until
    // it answers), when the message could not be asked, when it is one that has not answered
    // yet, or when nothing is left.
    bool Ask(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& answer);

private:
    UINT Left() const;
    DWORD start_;
};

// Whether `window` is waiting to answer an earlier question.
bool HasNotAnswered(HWND window);

}  // namespace orvale
