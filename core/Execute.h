#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/FileDescriptor.h"
#include "core/Prompts.h"

namespace platform {
class IFileSystem;
}

/// Base of every rename operation. One object serves one preview, OK or
/// file-list run; numbering operations keep their counters in it, so compute
/// must be called in run order.
class CExecute {
public:
    CExecute(int files, int folders, int subfolders, int confirm, int scope, int sortOrder, int sortEachFolder);
    virtual ~CExecute();
    CExecute(const CExecute&) = delete;
    CExecute& operator=(const CExecute&) = delete;

    /// The operation itself: a renamed copy of `fd`, which stays untouched.
    virtual std::unique_ptr<CFileDescriptor> compute(const CFileDescriptor& fd) = 0;

    /// Fills the Confirm dialog for renaming `oldFd` to `newFd`.
    virtual void fillDialog(CNameRequest& dialog, const CFileDescriptor& oldFd, const CFileDescriptor& newFd);

    /// Orders a list by sortOrder before it is processed.
    virtual void sort(CFileList& list);

    /// Renames the items of `paths` (the first `count`), or with `listFile`
    /// writes their full paths to that file instead.
    void run(const std::vector<std::string>& paths, int count, const std::string* listFile);

    /// Computes old and new names into oldNames and newNames; renames nothing.
    void preview(const std::vector<std::string>& paths, int count);

    /// The first half of run: reads the given items into `given` (sorted) and,
    /// with subfolders on, the contents of their folders into `contents`, each
    /// folder after its own contents. False when the user ended the run. With
    /// process, it lets a preview read a selection once and compute its names
    /// many times.
    bool collect(const std::vector<std::string>& paths, int count, CFileList& given, CFileList& contents);
    /// Computes, confirms and renames (or, in a preview, lists) each item.
    void process(CFileList& list);

    /// Where the run reads and renames, and whom it asks. Default: the real
    /// file system, and prompts that skip whatever would need an answer.
    void setFileSystem(platform::IFileSystem& fs) { fs_ = &fs; }
    void setPrompts(IPrompts& prompts) { prompts_ = &prompts; }
    platform::IFileSystem& fileSystem() const { return *fs_; }
    IPrompts& prompts() const { return *prompts_; }

    std::unique_ptr<std::vector<std::string>> oldNames;
    std::unique_ptr<std::vector<std::string>> newNames;
    int alwaysOffer = 0;
    int files;
    int folders;
    int subfolders;
    int confirm;
    int renameAll = 0;
    int stop = 0;
    int duplicateNumber = 1;
    std::string duplicateBase;
    int scope;
    int sortOrder;
    int sortEachFolder;
    int previewMode = 0;  ///< 1 during a preview run
    /// Drawn once per rename call by the front end: the random order is a
    /// shuffle derived from it, so every preview of a call and its run agree.
    uint64_t randomSeed = 0;

protected:
    /// Converts a number the user typed, as a plain decimal scan: leading
    /// white space and sign allowed, anything unreadable is 0.
    static int ScanInt(const std::string& text);
    /// Returns a copy of `fd` with its part replaced.
    static std::unique_ptr<CFileDescriptor> WithPart(const CFileDescriptor& fd, const std::string& part);

private:
    /// Adds the contents of `folder` to `out`, subfolders first and each
    /// folder after its own contents. Kept apart from process so that a
    /// selection can be expanded once and its names computed many times.
    void expand(const std::string& folder, CFileList& out);

    platform::IFileSystem* fs_;
    IPrompts* prompts_;
};
