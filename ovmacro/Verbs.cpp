#include "ovmacro/Verbs.h"

#include "actions/MacroTool.h"
#include "ovmacro/MacroFile.h"
#include "ovmacro/MacroWindows.h"
#include "ovmacro/Player.h"
#include "ovmacro/Recorder.h"
#include "ovmacro/Tell.h"
#include "win/Handles.h"

namespace ovmacro {
namespace {

// Held by the one recording of this user's session: while it is there, no other command runs,
// since it would change the file under the recording or play keys into it.
constexpr const wchar_t* kRecordingMutex = L"Local\\OrvaleMacrosRecording";
constexpr const wchar_t* kBusy =
    L"A macro is being recorded. Stop the recording (its Stop button or the Pause key) first.";

// What a file made by this tool starts with.
const wchar_t* const kNewFileHeader[] = {
    L"; Orvale Macros: one macro a section, one step a line:",
    L";   keys TEXT, pause MS, wait MS, click left|right|middle X,Y  (Orvale's help: Macros)"};

Answer Success(const std::wstring* text = nullptr) {
    Answer answer;
    answer.result = 1;
    answer.hasText = text != nullptr;
    if (text) answer.text = *text;
    return answer;
}

// The user is told what went wrong only in the commands they watch (edit, record, select,
// run); the others answer 0 and Orvale's caller decides.
class Job {
public:
    Job(const Command& command, bool watched) : command_(command), watched_(watched) {}

    // A missing file is an empty one for the commands that make it.
    bool Load(MacroBook& book, bool missingIsNew = false) const {
        const LoadResult loaded = LoadBook(command_.file, book);
        if (loaded.status == LoadStatus::Loaded) return true;
        if (loaded.status == LoadStatus::Missing && missingIsNew && !command_.file.empty()) {
            book = MacroBook();
            book.preamble.assign(std::begin(kNewFileHeader), std::end(kNewFileHeader));
            return true;
        }
        Say(command_.file.empty() ? L"No macro file was given."
                                  : DescribeLoadProblem(command_.file, loaded));
        return false;
    }

    Macro* Find(MacroBook& book) const {
        Macro* macro = book.Find(command_.name);
        if (!macro) {
            Say(L"There is no macro named \"" + command_.name + L"\" in \"" + command_.file +
                L"\".");
        }
        return macro;
    }

    std::wstring SaveProblem(const MacroBook& book) const {
        const orvale::FileError error = SaveBook(command_.file, book);
        if (!error) return std::wstring();
        return L"The macro file \"" + command_.file + L"\" cannot be saved: " + error.reason;
    }

    bool Save(const MacroBook& book) const {
        const std::wstring problem = SaveProblem(book);
        Say(problem);
        return problem.empty();
    }

    // Puts new steps into the macro as the file holds it now, so that nothing written to the
    // file meanwhile is lost. "" when stored, else what went wrong.
    std::wstring Store(const std::vector<Step>& steps) const {
        MacroBook book;
        const LoadResult loaded = LoadBook(command_.file, book);
        if (loaded.status != LoadStatus::Loaded) return DescribeLoadProblem(command_.file, loaded);
        Macro* macro = book.Find(command_.name);
        if (!macro) return L"The macro " + command_.name + L" is no longer in the file.";
        macro->steps = steps;
        return SaveProblem(book);
    }

    void Say(const std::wstring& text) const {
        if (watched_ && !text.empty()) Tell(nullptr, text);
    }

    const Command& command() const { return command_; }

private:
    Command command_;
    bool watched_;
};

// -add: refuses a name the file has; -new: (a macro about to be recorded) also takes over a
// macro of that name that has no steps yet, as a recording that never came leaves one.
Answer Add(const Job& job, bool toRecord) {
    MacroBook book;
    if (!ValidMacroName(job.command().name) || !job.Load(book, true)) return Answer();
    if (const Macro* existing = book.Find(job.command().name)) {
        return toRecord && existing->StepCount() == 0 ? Success() : Answer();
    }
    Macro macro;
    macro.name = job.command().name;
    book.macros.push_back(macro);
    return job.Save(book) ? Success() : Answer();
}

Answer Delete(const Job& job) {
    MacroBook book;
    if (!job.Load(book) || !book.Remove(job.command().name)) return Answer();
    return job.Save(book) ? Success() : Answer();
}

// The copy stands right after its macro.
Answer Copy(const Job& job) {
    MacroBook book;
    const Macro* macro = job.Load(book) ? job.Find(book) : nullptr;
    if (!macro) return Answer();
    Macro copy = *macro;
    copy.name = book.CopyName(macro->name);
    book.macros.insert(book.macros.begin() + (macro - book.macros.data()) + 1, copy);
    return job.Save(book) ? Success(&copy.name) : Answer();
}

Answer Select(const Job& job) {
    MacroBook book;
    std::wstring chosen;
    if (!job.Load(book) || !ChooseMacro(book, job.command().file, chosen)) return Answer();
    return Success(&chosen);
}

Answer Edit(const Job& job) {
    MacroBook book;
    const Macro* macro = job.Load(book) ? job.Find(book) : nullptr;
    if (!macro) return Answer();
    const bool stored = EditSteps(*macro, job.command().file,
                                  [&](const std::vector<Step>& steps) { return job.Store(steps); });
    return stored ? Success() : Answer();
}

Answer Record(const Job& job) {
    MacroBook book;
    if (!job.Load(book) || !job.Find(book)) return Answer();
    std::vector<Step> steps;
    std::wstring problem;
    if (RecordSteps(steps, problem)) problem = job.Store(steps);
    job.Say(problem);
    return problem.empty() ? Success() : Answer();
}

Answer Run(const Job& job) {
    MacroBook book;
    const Macro* macro = job.Load(book) ? job.Find(book) : nullptr;
    return macro && PlaySteps(macro->steps) ? Success() : Answer();
}

}  // namespace

Answer RunCommand(const Command& command) {
    const bool watched = command.verb == Verb::Edit || command.verb == Verb::Record ||
                         command.verb == Verb::Select || command.verb == Verb::Run;
    const Job job(command, watched);
    win::KernelHandle recording;
    if (command.verb == Verb::Record) {
        SetLastError(ERROR_SUCCESS);
        recording.Reset(CreateMutexW(nullptr, FALSE, kRecordingMutex));
        if (GetLastError() == ERROR_ALREADY_EXISTS) recording.Reset();
    } else {
        recording.Reset(OpenMutexW(SYNCHRONIZE, FALSE, kRecordingMutex));
    }
    if (static_cast<bool>(recording) != (command.verb == Verb::Record)) {
        Tell(nullptr, kBusy);
        return Answer();
    }
    switch (command.verb) {
    case Verb::Add: return Add(job, false);
    case Verb::New: return Add(job, true);
    case Verb::Delete: return Delete(job);
    case Verb::Copy: return Copy(job);
    case Verb::Select: return Select(job);
    case Verb::Edit: return Edit(job);
    case Verb::Record: return Record(job);
    case Verb::Run: return Run(job);
    }
    return Answer();
}

void GiveAnswer(const Answer& answer) {
    const int tool = orvale::ExchangeFile::kMacroTool;
    if (answer.hasText) orvale::ExchangeFile::WriteStrres(tool, answer.text);
    orvale::ExchangeFile::WriteResult(tool, answer.result);
}

}  // namespace ovmacro
