/* The least any program could do to read the files a store operation reads: open
 * and read each by its exact name on disk, with no case folding and no parsing.
 *   exactreads DIR signin USERS   the counter, then every user's user-name and
 *                                 password files, then the last user's name and age
 *   exactreads DIR list USERS     the counter, then every user's name, age, e-mail
 *                                 and user-name files
 * Exits 1 when a file cannot be read, so a wrong store cannot pass for fast. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static char buffer[1 << 16];

static void readExactly(const char* path) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        perror(path);
        exit(1);
    }
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
    close(fd);
}

static void readField(const char* dir, const char* prefix, long user, const char* suffix) {
    char path[4096];
    snprintf(path, sizeof path, "%s/QK/%s %ld%s", dir, prefix, user, suffix);
    readExactly(path);
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fputs("usage: exactreads DIR signin|list USERS\n", stderr);
        return 2;
    }
    const char* dir = argv[1];
    const long users = strtol(argv[3], NULL, 10);
    char counter[4096];
    snprintf(counter, sizeof counter, "%s/QK/num.qk", dir);
    readExactly(counter);
    if (strcmp(argv[2], "signin") == 0) {
        for (long i = 0; i < users; ++i) {
            readField(dir, "mup%qk", i, "du.qk");
            readField(dir, "mpp%qk", i, "dp.qk");
        }
        readField(dir, "mnp%qk", users - 1, "dN.qk");
        readField(dir, "map%qk", users - 1, "dA.qk");
    } else {
        for (long i = 0; i < users; ++i) {
            readField(dir, "mnp%qk", i, "dN.qk");
            readField(dir, "map%qk", i, "dA.qk");
            readField(dir, "mep%qk", i, "dE.qk");
            readField(dir, "mup%qk", i, "du.qk");
        }
    }
    return 0;
}
