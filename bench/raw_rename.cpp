// The kernel floor of a rename run: list one folder, then rename every entry
// with a prefix, never replacing anything. No sorting, no checks, no
// allocation per entry beyond the listing: what a renamer cannot beat.
//   raw_rename DIR PREFIX
// With --strip, takes PREFIX off the names that start with it instead, so
// that the benchmark can put a folder back as it was between contenders.
//   raw_rename --strip DIR PREFIX
// With --sorted, renames in name order rather than in the folder's own order:
// what the kernel's part costs when a renamer processes the entries sorted.
//   raw_rename --sorted DIR PREFIX
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

int main(int argc, char** argv) {
    const bool strip = argc == 4 && strcmp(argv[1], "--strip") == 0;
    const bool sorted = argc == 4 && strcmp(argv[1], "--sorted") == 0;
    if (strip || sorted) ++argv, --argc;
    if (argc != 3) {
        fprintf(stderr, "usage: raw_rename [--strip | --sorted] DIR PREFIX\n");
        return 2;
    }
    const int dir = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = dir >= 0 ? fdopendir(dup(dir)) : nullptr;
    if (!listing) {
        perror(argv[1]);
        return 1;
    }
    std::vector<std::string> names;
    while (const dirent* e = readdir(listing))
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) names.emplace_back(e->d_name);
    closedir(listing);
    if (sorted) std::sort(names.begin(), names.end());

    const std::string prefix = argv[2];
    int failed = 0;
    std::string target;
    size_t skipped = 0;
    for (const auto& name : names) {
        if (strip) {
            if (name.compare(0, prefix.size(), prefix) != 0) {
                ++skipped;
                continue;
            }
            target = name.substr(prefix.size());
        } else {
            target = prefix + name;
        }
        if (renameat2(dir, name.c_str(), dir, target.c_str(), RENAME_NOREPLACE) != 0) ++failed;
    }
    close(dir);
    printf("renamed %zu, failed %d\n", names.size() - skipped - failed, failed);
    return failed ? 1 : 0;
}
