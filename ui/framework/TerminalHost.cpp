// ui/framework/TerminalHost.cpp - questions on a terminal, progress as one line.
#include "ui/framework/TerminalHost.h"

#include "platform/Terminal.h"
#include "ui/framework/ProgressWindow.h"
#include "ui/framework/TextUtil.h"

#include <algorithm>
#include <cstdio>

namespace uifw {
namespace {

class SystemConsole : public ITerminal {
public:
    bool ReadLine(const std::string& prompt, std::string& line, bool echo) override {
        return platform::ReadTerminalLine(prompt, line, echo);
    }
    void Write(const std::string& text) override {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }
    bool ErrorIsTerminal() const override {
        return platform::IsTerminal(platform::StandardStream::Error);
    }
    int Columns() const override { return platform::TerminalColumns(); }
    void WatchInterrupts(std::function<void()> onInterrupt) override {
        watch_ = std::make_unique<platform::InterruptWatch>(std::move(onInterrupt));
    }
    void StopWatchingInterrupts() override { watch_.reset(); }

private:
    std::unique_ptr<platform::InterruptWatch> watch_;
};

std::string Bracketed(const std::string& current) {
    return current.empty() ? std::string() : " [" + current + "]";
}

// A label ends with its colon, or a sentence with its full stop; the prompt adds its own
// ending. An ellipsis stays.
std::string Stem(const std::string& label) {
    std::string stem = Trim(label);
    while (!stem.empty() && (stem.back() == ':' || stem.back() == ' '))
        stem.pop_back();
    if (stem.size() > 1 && stem.back() == '.' && stem[stem.size() - 2] != '.')
        stem.pop_back();
    return stem;
}

} // namespace

std::unique_ptr<ITerminal> SystemTerminal() {
    return std::make_unique<SystemConsole>();
}

// Scripted answers first, then the terminal.
class TerminalHost::Source : public IAnswerSource {
public:
    Source(ITerminal& terminal, ScriptedAnswers answers, FaultSink faults)
        : terminal_(terminal), answers_(std::move(answers)), faults_(std::move(faults)) {}

    Answer Ask(const Question& q) override {
        if (!q.name.empty())
            if (std::optional<std::string> value = answers_.Get(q.name))
                return Answer::Scripted(*value);
        if (q.scriptedOnly)
            return Answer{};
        std::string line;
        switch (q.kind) {
        case Question::Kind::Text:
            if (!terminal_.ReadLine(Stem(q.label) + Bracketed(q.current) + ": ", line, true))
                return Answer{Answer::Kind::Cancel, {}};
            return line.empty() ? Answer{Answer::Kind::Keep, {}} : Answer::Of(line);
        case Question::Kind::Password: {
            const std::string keeps =
                q.current.empty() ? std::string() : " (Enter keeps " + Masked(q.current) + ")";
            if (!terminal_.ReadLine(Stem(q.label) + keeps + ": ", line, false))
                return Answer{Answer::Kind::Cancel, {}};
            if (line.empty())
                return q.current.empty() ? Answer::Of(std::string())
                                         : Answer{Answer::Kind::Keep, {}};
            return Answer::Of(line);
        }
        case Question::Kind::MultiLineText: {
            std::string text = Stem(q.label) + " (several lines; a line with only \".\" ends";
            text += q.current.empty() ? "):\n" : ", an empty first line keeps the text):\n";
            if (!q.current.empty())
                text += Indented(q.current);
            terminal_.Write(text);
            std::string value;
            for (bool first = true;; first = false) {
                if (!terminal_.ReadLine("> ", line, true))
                    return Answer{Answer::Kind::Cancel, {}};
                if (first && line.empty() && !q.current.empty())
                    return Answer{Answer::Kind::Keep, {}};
                if (line == ".")
                    break;
                value += (first ? "" : "\n") + line;
            }
            return Answer::Of(value);
        }
        case Question::Kind::YesNo:
            if (!terminal_.ReadLine(Stem(q.label) + "? [y/n]" + Bracketed(q.current) + ": ", line,
                                    true))
                return Answer{Answer::Kind::Cancel, {}};
            return line.empty() ? Answer{Answer::Kind::Keep, {}} : Answer::Of(line);
        case Question::Kind::Choice:
        case Question::Kind::MultiChoice: {
            // Choices shown as a table just before are not listed again.
            if (!q.listed) {
                std::string list;
                for (size_t i = 0; i < q.choices.size(); ++i)
                    list += "  " + std::to_string(i + 1) + ") " + q.choices[i] + "\n";
                terminal_.Write(Stem(q.label) + ":\n" + list);
            }
            const std::string how = q.kind == Question::Kind::MultiChoice
                                        ? "numbers, separated by commas"
                                        : (q.freeText ? "a number or a text" : "a number");
            if (!terminal_.ReadLine("choose (" + how + ")" + Bracketed(q.current) + ": ", line,
                                    true))
                return Answer{Answer::Kind::Cancel, {}};
            return line.empty() ? Answer{Answer::Kind::Keep, {}} : Answer::Of(line);
        }
        case Question::Kind::Date:
            if (!terminal_.ReadLine(Stem(q.label) + " (MM/DD/YYYY or none)" + Bracketed(q.current) +
                                        ": ",
                                    line, true))
                return Answer{Answer::Kind::Cancel, {}};
            return line.empty() ? Answer{Answer::Kind::Keep, {}} : Answer::Of(line);
        case Question::Kind::Buttons: {
            std::string buttons;
            for (const std::string& choice : q.choices)
                buttons += (buttons.empty() ? "" : "/") + choice;
            std::string head =
                q.heading.empty() || q.heading == q.label ? std::string() : q.heading + ": ";
            if (!terminal_.ReadLine(head + q.label + " [" + buttons + "]: ", line, true))
                return Answer{Answer::Kind::Cancel, {}};
            return line.empty() ? Answer{Answer::Kind::Keep, {}} : Answer::Of(line);
        }
        }
        return Answer{};
    }

    bool IsInteractive() const override { return true; }
    void Tell(const std::string& text) override { terminal_.Write(text + "\n"); }
    void ShowTable(const Table& table) override { terminal_.Write(TableForReading(table)); }
    void Heading(const std::string& caption) override { terminal_.Write(caption + "\n"); }
    void Unanswered(const std::string& message) override {
        if (faults_)
            faults_(message);
    }

private:
    static std::string Masked(const std::string& shown) {
        std::string masked = shown;
        for (char& c : masked)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
                c = '*';
        return masked;
    }
    static std::string Indented(const std::string& text) {
        std::string out;
        for (const std::string& line : Split(text, '\n')) {
            std::string l = line;
            if (!l.empty() && l.back() == '\r')
                l.pop_back();
            out += "  | " + l + "\n";
        }
        return out;
    }

    ITerminal& terminal_;
    ScriptedAnswers answers_;
    FaultSink faults_;
};

TerminalHost::TerminalHost(ITerminal& terminal, ScriptedAnswers answers, FaultSink faults)
    : CMemoryHost(faults ? faults : FaultSink(WriteToStandardError)), terminal_(terminal),
      source_(std::make_unique<Source>(terminal, std::move(answers),
                                       faults ? faults : FaultSink(WriteToStandardError))) {}

TerminalHost::~TerminalHost() {
    bool watching = false;
    {
        std::lock_guard<std::mutex> guard(lock_);
        watching = !progress_.empty();
        progress_.clear();
    }
    if (watching)
        terminal_.StopWatchingInterrupts();
}

void TerminalHost::PlayModal(DialogDriver& ui) {
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    ClearProgress();
    PlayByPrompts(ui, *source_);
    DrawProgress();
}

std::optional<std::string> TerminalHost::AnswerPathRequest(const PathRequest& request) {
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    ClearProgress();
    std::optional<std::string> path = uifw::AnswerPathRequest(request, *source_);
    DrawProgress();
    return path;
}

int TerminalHost::MessageBox(platform::WindowHandle, const std::string& text,
                             const std::string& caption, unsigned style) {
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    ClearProgress();
    MessageBoxRecord box;
    box.text = text;
    box.caption = caption;
    box.style = style;
    const int answer = AnswerMessageBox(box, *source_);
    DrawProgress();
    return answer;
}

void TerminalHost::OnModelessCreated(CMemoryWindow& window) {
    if (!dynamic_cast<CProgressWindowBase*>(&window.Model()))
        return;
    bool first = false;
    {
        std::lock_guard<std::mutex> guard(lock_);
        first = progress_.empty();
        progress_.push_back(&window);
    }
    window.SetRedrawHook([this] { DrawProgress(); });
    if (first)
        terminal_.WatchInterrupts([this] { OnInterrupt(); });
    DrawProgress();
}

void TerminalHost::OnModelessDestroying(CMemoryWindow& window) {
    bool last = false;
    {
        std::lock_guard<std::mutex> guard(lock_);
        auto it = std::find(progress_.begin(), progress_.end(), &window);
        if (it == progress_.end())
            return;
        progress_.erase(it);
        last = progress_.empty();
    }
    window.SetRedrawHook(nullptr);
    if (last) {
        terminal_.StopWatchingInterrupts();
        ClearProgress();
    } else {
        DrawProgress();
    }
}

void TerminalHost::OnInterrupt() {
    std::lock_guard<std::mutex> guard(lock_);
    for (CMemoryWindow* window : progress_)
        if (auto* progress = dynamic_cast<CProgressWindowBase*>(&window->Model()))
            progress->RequestCancel();
}

void TerminalHost::DrawProgress() {
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    if (consoleDepth_ > 0)
        return;
    std::string line;
    {
        std::lock_guard<std::mutex> guard(lock_);
        // The newest visible progress window is the one shown.
        for (auto it = progress_.rbegin(); it != progress_.rend(); ++it)
            if ((*it)->IsWindowVisible()) {
                line = static_cast<CModelessDialog&>((*it)->Model()).SummaryLine();
                break;
            }
    }
    if (!terminal_.ErrorIsTerminal()) {
        if (!line.empty() && line != drawn_)
            terminal_.Write(line + "\n");
        drawn_ = line;
        return;
    }
    const int columns = terminal_.Columns();
    const size_t room = columns > 1 ? static_cast<size_t>(columns - 1) : 79;
    if (line.size() > room)
        line.resize(room);
    if (line == drawn_)
        return;
    std::string text = "\r" + line;
    if (drawn_.size() > line.size())
        text += std::string(drawn_.size() - line.size(), ' ') + "\r" + line;
    terminal_.Write(text);
    drawn_ = line;
}

void TerminalHost::ClearProgress() {
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    if (drawn_.empty())
        return;
    if (terminal_.ErrorIsTerminal())
        terminal_.Write("\r" + std::string(drawn_.size(), ' ') + "\r");
    drawn_.clear();
}

void TerminalHost::ShowHelp(const std::string& helpFile) {
    CMemoryHost::ShowHelp(helpFile);
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    ClearProgress();
    terminal_.Write("Help: " + helpFile + " (a compiled help file; it cannot be shown here)\n");
}

void TerminalHost::BeginConsoleText() {
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    if (consoleDepth_++ == 0)
        ClearProgress();
}

void TerminalHost::EndConsoleText() {
    std::lock_guard<std::recursive_mutex> guard(terminalLock_);
    if (consoleDepth_ > 0 && --consoleDepth_ == 0)
        DrawProgress();
}

} // namespace uifw
