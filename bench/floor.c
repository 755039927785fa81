/* SPDX-License-Identifier: MIT */
/* A yardstick, not part of secs: the least a tool of its design can do, the
 * same system() and time() calls from a plain C program, so bench/overhead.sh
 * can show what secs costs above that floor. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(int argc, char** argv)
{
    time_t start;
    int status;

    if (argc < 2)
        return 2;
    start = time(NULL);
    status = system(argv[1]);
    printf("%ld", (long)(time(NULL) - start));
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
