/* A network's delay in front of a local server: delayproxy TARGET_PORT DELAY_US
 * listens on 127.0.0.1 (a free port, printed on the first line of standard
 * output) and forwards every connection to 127.0.0.1:TARGET_PORT, holding each
 * chunk it reads DELAY_US microseconds before passing it on, in each direction.
 * Chunks are held side by side, not one after another: the delay adds to every
 * round trip and takes nothing from the bandwidth, as a longer wire would.
 * Runs until killed. */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

enum { kChunk = 65536 };

struct chunk {
    struct chunk* next;
    struct timespec due;
    ssize_t size; /* 0: the sender has finished */
    char data[];
};

/* One direction of one connection: a reader queues what arrives, a writer sends
 * each chunk when it is due. */
struct pipe {
    int from;
    int to;
    pthread_mutex_t lock;
    pthread_cond_t ready;
    struct chunk* head;
    struct chunk* tail;
    struct connection* connection;
};

struct connection {
    struct pipe way[2];
    pthread_mutex_t lock;
    int finished; /* writers done; the last one closes both sockets */
};

static long delayNs;

static void addNs(struct timespec* at, long ns) {
    at->tv_nsec += ns;
    while (at->tv_nsec >= 1000000000L) {
        at->tv_nsec -= 1000000000L;
        ++at->tv_sec;
    }
}

static void enqueue(struct pipe* p, struct chunk* c) {
    c->next = NULL;
    pthread_mutex_lock(&p->lock);
    if (p->tail)
        p->tail->next = c;
    else
        p->head = c;
    p->tail = c;
    pthread_cond_signal(&p->ready);
    pthread_mutex_unlock(&p->lock);
}

static void* reader(void* arg) {
    struct pipe* p = arg;
    for (;;) {
        struct chunk* c = malloc(sizeof *c + kChunk);
        if (!c)
            abort();
        do
            c->size = read(p->from, c->data, kChunk);
        while (c->size < 0 && errno == EINTR);
        if (c->size < 0)
            c->size = 0;
        clock_gettime(CLOCK_MONOTONIC, &c->due);
        addNs(&c->due, delayNs);
        enqueue(p, c);
        if (c->size == 0)
            return NULL;
    }
}

static void finish(struct connection* conn) {
    pthread_mutex_lock(&conn->lock);
    const int last = ++conn->finished == 2;
    pthread_mutex_unlock(&conn->lock);
    if (!last)
        return;
    close(conn->way[0].from);
    close(conn->way[1].from);
}

static void* writer(void* arg) {
    struct pipe* p = arg;
    int broken = 0;
    for (;;) {
        pthread_mutex_lock(&p->lock);
        while (!p->head)
            pthread_cond_wait(&p->ready, &p->lock);
        struct chunk* c = p->head;
        p->head = c->next;
        if (!p->head)
            p->tail = NULL;
        pthread_mutex_unlock(&p->lock);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &c->due, NULL) == EINTR) {
        }
        const ssize_t size = c->size;
        for (ssize_t done = 0; !broken && done < size;) {
            const ssize_t n = write(p->to, c->data + done, (size_t)(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                /* The other side is gone: stop reading what it would have received. */
                broken = 1;
                shutdown(p->from, SHUT_RD);
                break;
            }
            done += n;
        }
        free(c);
        if (size == 0) {
            shutdown(p->to, SHUT_WR);
            finish(p->connection);
            return NULL;
        }
    }
}

static void serve(int client, int targetPort) {
    const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    struct sockaddr_in target = {.sin_family = AF_INET, .sin_port = htons((uint16_t)targetPort)};
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (server < 0 || connect(server, (struct sockaddr*)&target, sizeof target) != 0) {
        perror("delayproxy: connect");
        close(client);
        if (server >= 0)
            close(server);
        return;
    }
    const int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    struct connection* conn = calloc(1, sizeof *conn);
    if (!conn)
        abort();
    pthread_mutex_init(&conn->lock, NULL);
    const int ends[2][2] = {{client, server}, {server, client}};
    for (int i = 0; i < 2; ++i) {
        struct pipe* p = &conn->way[i];
        p->from = ends[i][0];
        p->to = ends[i][1];
        p->connection = conn;
        pthread_mutex_init(&p->lock, NULL);
        pthread_cond_init(&p->ready, NULL);
    }
    /* The connection lives as long as the process: a benchmark's few mounts. */
    for (int i = 0; i < 2; ++i) {
        pthread_t thread;
        if (pthread_create(&thread, NULL, reader, &conn->way[i]) != 0 ||
            pthread_create(&thread, NULL, writer, &conn->way[i]) != 0)
            abort();
        pthread_detach(thread);
    }
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fputs("usage: delayproxy TARGET_PORT DELAY_US\n", stderr);
        return 2;
    }
    const int targetPort = atoi(argv[1]);
    delayNs = atol(argv[2]) * 1000L;
    signal(SIGPIPE, SIG_IGN);
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    struct sockaddr_in address = {.sin_family = AF_INET, .sin_port = 0};
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, (struct sockaddr*)&address, sizeof address) != 0 ||
        listen(listener, 16) != 0 ||
        getsockname(listener, (struct sockaddr*)&address, &length) != 0) {
        perror("delayproxy: listen");
        return 1;
    }
    printf("%d\n", ntohs(address.sin_port));
    fflush(stdout);
    for (;;) {
        const int client = accept4(listener, NULL, NULL, SOCK_CLOEXEC);
        if (client >= 0)
            serve(client, targetPort);
        else if (errno != EINTR)
            perror("delayproxy: accept");
    }
}
