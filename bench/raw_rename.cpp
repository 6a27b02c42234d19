// The kernel floor for the rename benchmark: list a folder once, then rename
// every entry with renameat2(RENAME_NOREPLACE), adding a prefix. No sorting,
// no checks beyond what the kernel does; nothing a renamer can do is cheaper.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: raw_rename FOLDER PREFIX\n");
        return 2;
    }
    const int dirfd = open(argv[1], O_RDONLY | O_DIRECTORY);
    if (dirfd < 0) {
        perror(argv[1]);
        return 1;
    }
    DIR* dir = fdopendir(dup(dirfd));
    if (!dir) {
        perror(argv[1]);
        return 1;
    }
    std::vector<std::string> names;
    while (const dirent* e = readdir(dir)) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
        names.emplace_back(e->d_name);
    }
    closedir(dir);
    const std::string prefix = argv[2];
    int failed = 0;
    for (const auto& n : names) {
        const std::string to = prefix + n;
        if (renameat2(dirfd, n.c_str(), dirfd, to.c_str(), RENAME_NOREPLACE) != 0) ++failed;
    }
    close(dirfd);
    printf("%zu renamed, %d failed\n", names.size() - failed, failed);
    return failed ? 1 : 0;
}
