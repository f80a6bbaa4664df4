/* The least any host can do on the line, as the yardstick for the upload:
 * waits for the board's target byte, answers it with the byte after it and
 * 0x00, then sends the prepared lines (each ended by 0x00, as upload_lines
 * writes them) one by one, waiting for the board's 14-character reply after
 * each but the terminate record. Prints the seconds from the target byte to
 * the last byte written.
 * usage: minimal-host DEVICE BAUD LINES */
#define _DEFAULT_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

static void Fail(const char* sWhat) {
    perror(sWhat);
    exit(1);
}

static void ReadExactly(int iLine, char* aBytes, size_t lCount) {
    for (ssize_t lRead; lCount > 0; aBytes += lRead, lCount -= (size_t)lRead) {
        if ((lRead = read(iLine, aBytes, lCount)) <= 0) {
            Fail("read");
        }
    }
}

static void WriteAll(int iLine, const char* aBytes, size_t lCount) {
    for (ssize_t lWritten; lCount > 0; aBytes += lWritten, lCount -= (size_t)lWritten) {
        if ((lWritten = write(iLine, aBytes, lCount)) <= 0) {
            Fail("write");
        }
    }
}

static speed_t Speed(long lBaud) {
    return lBaud == 9600 ? B9600 : lBaud == 19200 ? B19200 : lBaud == 57600 ? B57600 : B115200;
}

static double Seconds(void) {
    struct timespec oNow;
    clock_gettime(CLOCK_MONOTONIC, &oNow);
    return (double)oNow.tv_sec + (double)oNow.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
    static char aLines[1 << 24];
    char aReply[14], yTarget = 0;
    struct termios oMode;
    FILE* pLines = argc == 4 ? fopen(argv[3], "rb") : NULL;
    if (pLines == NULL) {
        Fail("usage: minimal-host DEVICE BAUD LINES");
    }
    const size_t lSize = fread(aLines, 1, sizeof aLines, pLines);
    const int iLine = open(argv[1], O_RDWR | O_NOCTTY);
    if (iLine < 0 || tcgetattr(iLine, &oMode) != 0) {
        Fail(argv[1]);
    }
    cfmakeraw(&oMode);
    cfsetspeed(&oMode, Speed(atol(argv[2])));
    if (tcsetattr(iLine, TCSANOW, &oMode) != 0 || tcflush(iLine, TCIFLUSH) != 0) {
        Fail("tcsetattr");
    }
    while (yTarget == 0) {
        ReadExactly(iLine, &yTarget, 1); /* 0x00 is noise */
    }
    const double dStart = Seconds();
    const char aAnswer[2] = {(char)(yTarget + 1), 0};
    WriteAll(iLine, aAnswer, 2);
    for (size_t lAt = 0, lEnd; lAt < lSize; lAt = lEnd) {
        const char* pZero = memchr(aLines + lAt, 0, lSize - lAt);
        lEnd = pZero ? (size_t)(pZero - aLines) + 1 : lSize;
        WriteAll(iLine, aLines + lAt, lEnd - lAt);
        if (memchr("789", aLines[lAt + 1], 3) != NULL) {
            break; /* a terminate record gets no reply */
        }
        ReadExactly(iLine, aReply, sizeof aReply);
        if (memcmp(aReply, "S60500000009F1", sizeof aReply) != 0) {
            Fail("not the acknowledge reply");
        }
    }
    printf("%.6f\n", Seconds() - dStart);
    return tcdrain(iLine) == 0 && close(iLine) == 0 ? 0 : 1;
}
