/* One busy thread per core at SCHED_IDLE: no core ever goes idle, so none
 * has to wake late from a deep idle state, and any ordinary thread takes a
 * core from them at once. Runs until killed. usage: spin-idle */
#define _GNU_SOURCE
#include <pthread.h>
#include <sched.h>
#include <stdio.h>
#include <unistd.h>

static void* Spin(void* pUnused) {
    const struct sched_param oParam = {0};
    if (sched_setscheduler(0, SCHED_IDLE, &oParam) != 0) {
        perror("sched_setscheduler");
    }
    for (volatile unsigned long lTurns = 0;; ++lTurns) {
    }
    return pUnused;
}

int main(void) {
    const long lCores = sysconf(_SC_NPROCESSORS_ONLN);
    pthread_t oThread;
    for (long i = 1; i < lCores; ++i) {
        if (pthread_create(&oThread, NULL, Spin, NULL) != 0) {
            perror("pthread_create");
        }
    }
    Spin(NULL);
    return 0;
}
