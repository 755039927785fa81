// SPDX-License-Identifier: MIT
// What the POSIX and the Windows entries of secs share: the log line.
#ifndef SECS_LOGLINE_H
#define SECS_LOGLINE_H

#include <stddef.h>

#include <iostream>

// One line for the log stream, built in place and handed to std::clog in a
// single write when the statement that built it ends: lines from runs that
// share a log (make -j, xargs -P) never interleave, and saying that memory
// ran out takes none. A line is cut, keeping its line end, at 4096 bytes,
// the most a pipe takes in one piece on Linux; real lines are far shorter.
class Logline {
public:
    Logline() : text(), length(0) {}
    ~Logline()
    {
        if (length > 0 && text[length - 1] != '\n') {
            text[length - 1] = '\n';
        }
        std::clog.write(text, static_cast<std::streamsize>(length));
        std::clog.flush();
    }
    Logline& operator<<(const char* part)
    {
        while (*part != '\0' && length < sizeof text) {
            text[length++] = *part++;
        }
        return *this;
    }

private:
    char text[4096];
    size_t length;
};

#endif
