/* What reading a sign-in's files with many reads in flight costs, the most a
 * sign-in could gain on a share where each read waits for round trips:
 *   parallelreads DIR USERS THREADS
 * reads the counter, then every user's user-name and password files and the last
 * user's name and age files (the files a sign-in reads), each by its exact name
 * relative to the store directory held open, THREADS reads at a time. Exits 1
 * when a file cannot be read, so a wrong store cannot pass for fast. */
#include <fcntl.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static int storeDirectory;
static long users;
static atomic_long next;
static atomic_int failed;

static void readExactly(const char* path) {
    char buffer[4096];
    const int fd = openat(storeDirectory, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        perror(path);
        atomic_store(&failed, 1);
        return;
    }
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
    close(fd);
}

/* File i of the sign-in's 2 * users + 2 files, in the order a sign-in reads them. */
static void readFile(long i) {
    static const char* const kinds[][2] = {
        {"mup%qk", "du.qk"}, {"mpp%qk", "dp.qk"}, {"mnp%qk", "dN.qk"}, {"map%qk", "dA.qk"}};
    const long user = i < 2 * users ? i / 2 : users - 1;
    const int kind = i < 2 * users ? (int)(i % 2) : (int)(i - 2 * users + 2);
    char name[64];
    snprintf(name, sizeof name, "%s %ld%s", kinds[kind][0], user, kinds[kind][1]);
    readExactly(name);
}

static void* work(void* unused) {
    (void)unused;
    for (long i; (i = atomic_fetch_add(&next, 1)) < 2 * users + 2;)
        readFile(i);
    return NULL;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fputs("usage: parallelreads DIR USERS THREADS\n", stderr);
        return 2;
    }
    users = strtol(argv[2], NULL, 10);
    const int threads = atoi(argv[3]);
    if (users < 1 || threads < 1) {
        fputs("parallelreads: USERS and THREADS must be at least 1\n", stderr);
        return 2;
    }
    char store[4096];
    snprintf(store, sizeof store, "%s/QK", argv[1]);
    storeDirectory = open(store, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (storeDirectory < 0) {
        perror(store);
        return 1;
    }
    readExactly("num.qk");
    pthread_t* pool = calloc((size_t)threads, sizeof *pool);
    if (!pool)
        return 1;
    for (int t = 0; t < threads; ++t) {
        if (pthread_create(&pool[t], NULL, work, NULL) != 0) {
            perror("pthread_create");
            return 1;
        }
    }
    for (int t = 0; t < threads; ++t)
        pthread_join(pool[t], NULL);
    free(pool);
    return atomic_load(&failed) ? 1 : 0;
}
