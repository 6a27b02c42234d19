#include "dialog/win32/Win32Prompts.h"

#include <string>

#include "dialog/win32/ConfirmDlg.h"
#include "dialog/win32/DefaultErrorDlg.h"
#include "dialog/win32/DuplicateErrorDlg.h"
#include "dialog/win32/IllegalErrorDlg.h"
#include "dialog/win32/TooLongErrorDlg.h"

namespace {

int answer(INT_PTR result) {
    return result == CModalDlg::kFailed ? kAnswerSkipAll : static_cast<int>(result);
}

int ask(CNameDlg& dialog, CNameRequest& request, HINSTANCE instance, HWND owner) {
    dialog.oldName = request.oldName;
    dialog.computed = request.computed;
    dialog.newName = request.newName;
    const int result = answer(dialog.DoModal(instance, owner));
    request.newName = dialog.newName;
    return result;
}

}  // namespace

Win32Prompts::Win32Prompts(HWND owner, HINSTANCE instance)
    : owner_(owner), instance_(instance ? instance : ModuleOfThisCode()) {}

int Win32Prompts::Confirm(CNameRequest& request) {
    CConfirmDlg dialog;
    dialog.highlight = request.highlight;
    dialog.highlightStart = request.highlightStart;
    dialog.highlightSpan = request.highlightSpan;
    return ask(dialog, request, instance_, owner_);
}

int Win32Prompts::Duplicate(CNameRequest& request) {
    CDuplicateErrorDlg dialog;
    return ask(dialog, request, instance_, owner_);
}

int Win32Prompts::Illegal(CNameRequest& request) {
    CIllegalErrorDlg dialog;
    return ask(dialog, request, instance_, owner_);
}

int Win32Prompts::TooLong(CNameRequest& request) {
    CTooLongErrorDlg dialog;
    return ask(dialog, request, instance_, owner_);
}

int Win32Prompts::DefaultError(CErrorReport& report) {
    CDefaultErrorDlg dialog;
    dialog.title = report.title;
    dialog.fileName = report.fileName;
    // Unsigned, so a code with the high bit set (an HRESULT) does not show as negative.
    dialog.errorCode = std::to_string(report.errorCode);
    dialog.headline = report.headline;
    dialog.explanation = report.explanation;
    dialog.holders = report.holders;
    dialog.canRetry = report.canRetry;
    return answer(dialog.DoModal(instance_, owner_));
}
