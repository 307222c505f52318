/* Races for one name, the way copies of the game race for the store's lock:
 *   race_helper RACES PROCESSES DIR...
 * In each race PROCESSES processes, spread over the DIRs (one directory seen
 * through several mounts), are let go at the same instant and each tries to
 * make the same new name: first a directory with mkdir, then, in a second race,
 * a file with open(O_CREAT | O_EXCL). Prints one line per kind,
 *   KIND RACES DOUBLE NONE FAULTS [FIRST-FAULT]
 * counting races with two or more winners, races with none, and processes that
 * failed otherwise than "exists" (or hung a minute): the client's fault, not a
 * lost race. The names are left behind, race-N.d and race-N.f in DIR. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

enum { kWon = 0, kLost = 1, kFault = 2, kHung = 60 };

struct tally {
    const char* kind;
    int doubles;
    int none;
    int faults;
    char firstFault[200];
};

static int attempt(int mkdirRace, const char* dir, int race) {
    char path[4096];
    snprintf(path, sizeof path, "%s/race-%d.%s", dir, race, mkdirRace ? "d" : "f");
    int fd = -1;
    const int made = mkdirRace ? mkdir(path, 0700)
                               : (fd = open(path, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600));
    if (made >= 0) {
        if (fd >= 0)
            close(fd);
        return kWon;
    }
    if (errno == EEXIST)
        return kLost;
    fprintf(stderr, "%s: %s\n", path, strerror(errno));
    return kFault;
}

static void run(struct tally* tally, int mkdirRace, int race, int processes, char** dirs,
                int ndirs) {
    int gun[2];
    pid_t* children = calloc((size_t)processes, sizeof *children);
    if (!children || pipe2(gun, O_CLOEXEC) != 0) {
        perror("race_helper");
        exit(1);
    }
    for (int i = 0; i < processes; ++i) {
        children[i] = fork();
        if (children[i] < 0) {
            perror("fork");
            exit(1);
        }
        if (children[i] == 0) {
            char go;
            close(gun[1]);
            /* Reads end when the last writer closes: every process at once. */
            while (read(gun[0], &go, 1) < 0 && errno == EINTR) {
            }
            alarm(kHung);
            _exit(attempt(mkdirRace, dirs[i % ndirs], race));
        }
    }
    close(gun[0]);
    close(gun[1]);
    int winners = 0;
    for (int i = 0; i < processes; ++i) {
        int status;
        while (waitpid(children[i], &status, 0) < 0 && errno == EINTR) {
        }
        const int result = WIFEXITED(status) ? WEXITSTATUS(status) : kFault;
        if (result == kWon) {
            ++winners;
        } else if (result != kLost) {
            if (tally->faults++ == 0)
                snprintf(tally->firstFault, sizeof tally->firstFault, "%s",
                         WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? "hung" : "error");
        }
    }
    tally->doubles += winners > 1;
    tally->none += winners == 0;
    free(children);
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fputs("usage: race_helper RACES PROCESSES DIR...\n", stderr);
        return 2;
    }
    const int races = atoi(argv[1]);
    const int processes = atoi(argv[2]);
    struct tally tallies[2] = {{.kind = "mkdir"}, {.kind = "O_EXCL"}};
    for (int race = 0; race < races; ++race)
        for (int k = 0; k < 2; ++k)
            run(&tallies[k], k == 0, race, processes, argv + 3, argc - 3);
    for (int k = 0; k < 2; ++k)
        printf("%s %d %d %d %d %s\n", tallies[k].kind, races, tallies[k].doubles, tallies[k].none,
               tallies[k].faults, tallies[k].firstFault);
    return 0;
}
