#pragma once

#include <string>
#include <string_view>

/// Where the command line talks with its user: typed lines in, messages out
/// (standard error, so that standard output carries only results).
class CTerminal {
public:
    virtual ~CTerminal() = default;
    /// One typed line without its line break; false at the end of the input.
    virtual bool ReadLine(std::string& line) = 0;
    /// One line that starts out as `initial` for the person to change, with
    /// line editing where the terminal has it, after `prompt`; false at the
    /// end of the input.
    virtual bool EditLine(const std::string& prompt, const std::string& initial, std::string& line) = 0;
    virtual void Write(std::string_view text) = 0;
};

/// The process's own standard input and standard error.
class CSystemTerminal final : public CTerminal {
public:
    bool ReadLine(std::string& line) override;
    bool EditLine(const std::string& prompt, const std::string& initial, std::string& line) override;
    void Write(std::string_view text) override;
};

/// One line of standard error that is written over in place (the progress
/// of a long run), and cleared before anything else is written.
class CStatusLine {
public:
    explicit CStatusLine(CTerminal& terminal) : terminal_(terminal) {}
    ~CStatusLine() { Clear(); }
    CStatusLine(const CStatusLine&) = delete;
    CStatusLine& operator=(const CStatusLine&) = delete;

    void Show(const std::string& text);
    /// Blanks the line so that the next message starts on a clean line.
    void Clear();

private:
    CTerminal& terminal_;
    size_t shown_ = 0;  ///< characters on the line now
};
