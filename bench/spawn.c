/* SPDX-License-Identifier: MIT */
/* A yardstick, not part of secs: the least any tool that must start a shell
 * can do, posix_spawn of /bin/sh -c TEXT and a wait, with no clock and no
 * output, so bench/overhead.sh can show what secs costs above that limit. */
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

int main(int argc, char **argv)
{
    char *shell[4];
    pid_t pid;
    int status;

    if (argc < 2)
        return 2;
    shell[0] = "sh";
    shell[1] = "-c";
    shell[2] = argv[1];
    shell[3] = 0;
    if (posix_spawn(&pid, "/bin/sh", 0, 0, shell, environ) != 0 || waitpid(pid, &status, 0) < 0)
        return 255;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}
