#include "engine/WindowQuestions.h"

#include <algorithm>
#include <set>

namespace orvale {
namespace {

// Windows that did not answer in their share. Each has been sent a null message on the side;
// its answer, whenever it comes, takes the window off the list.
std::set<HWND> g_silent;

void CALLBACK Answered(HWND window, UINT, ULONG_PTR, LRESULT) { g_silent.erase(window); }

void WaitForAnswerOnTheSide(HWND window) {
    // Windows that have gone meanwhile will never answer; they are let go of here.
    for (auto it = g_silent.begin(); it != g_silent.end();) {
        it = IsWindow(*it) ? std::next(it) : g_silent.erase(it);
    }
    if (g_silent.insert(window).second &&
        !SendMessageCallbackW(window, WM_NULL, 0, 0, Answered, 0)) {
        g_silent.erase(window);
    }
}

}  // namespace

UINT QuestionBudget::Left() const {
    const DWORD used = GetTickCount() - start_;
    return used >= kQuestionBudgetMs ? 0 : static_cast<UINT>(kQuestionBudgetMs - used);
}

bool QuestionBudget::Ask(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& answer) {
    if (HasNotAnswered(window)) return false;
    const UINT share = std::min(Left(), kQuestionShareMs);
    if (share == 0) return false;
    DWORD_PTR result = 0;
    SetLastError(0);
    if (!SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, share,
                             &result)) {
        // Some messages cannot be asked across programs at all (some systems refuse them at
        // once); only a window that kept us waiting is one that does not answer.
        if (GetLastError() == ERROR_TIMEOUT) WaitForAnswerOnTheSide(window);
        return false;
    }
    answer = static_cast<LRESULT>(result);
    return true;
}

bool HasNotAnswered(HWND window) { return g_silent.count(window) != 0; }

}  // namespace orvale
