// Line editing through libedit (BSD licence), whose own editor reads the
// keys; the line starts out with the text given.
#include <histedit.h>
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/Console.h"
#include "platform/LineEdit.h"

namespace platform {

namespace {

// The prompt libedit asks for on every redraw.
thread_local std::string g_prompt;

const char* Prompt(EditLine*) {
    return g_prompt.c_str();
}

// Names are UTF-8 whatever the user's locale says: libedit takes a
// character's bytes together only under a UTF-8 character type.
class Utf8CharacterType {
public:
    Utf8CharacterType() {
        const char* current = std::setlocale(LC_CTYPE, nullptr);
        saved_ = current ? current : "C";
        if (!std::setlocale(LC_CTYPE, "") || std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
            std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    ~Utf8CharacterType() { std::setlocale(LC_CTYPE, saved_.c_str()); }

private:
    std::string saved_;
};

struct EditLineCloser {
    void operator()(EditLine* el) const { el_end(el); }
};

bool HasControlCharacters(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

}  // namespace

bool EditTerminalLine(std::string_view prompt, const std::string& initial, std::string& line) {
    if (!::isatty(STDIN_FILENO)) {
        WriteText(StandardStream::kError, prompt);
        if (!ReadLine(line)) return false;
        if (line.empty()) line = initial;
        return true;
    }
    Utf8CharacterType utf8;
    // The editor draws on standard error, beside the questions; standard
    // output carries only results.
    std::unique_ptr<EditLine, EditLineCloser> el(el_init("quorlin", stdin, stderr, stderr));
    if (!el) {
        WriteText(StandardStream::kError, prompt);
        return ReadLine(line);
    }
    g_prompt.assign(prompt);
    el_set(el.get(), EL_PROMPT, &Prompt);
    el_set(el.get(), EL_EDITOR, "emacs");
    el_set(el.get(), EL_SIGNAL, 1);
    // Typed in ahead of the person: the editor clears its line when it
    // starts reading, so text put in directly would be lost. A control
    // character would be taken as an editing key: such a name is typed anew.
    if (!HasControlCharacters(initial)) el_push(el.get(), initial.c_str());
    int count = 0;
    const char* read = el_gets(el.get(), &count);
    if (!read || count <= 0) return false;
    line.assign(read, static_cast<size_t>(count));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return true;
}

}  // namespace platform
