// Stands in for a copy of the program in the instance tests: takes the
// instance lock at the path given, says whether it is the first copy, and
// keeps the lock until its standard input closes.
#include "shell/single_instance.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    std::puts(instance.IsFirst() ? "first" : "second");
    std::fflush(stdout);
    if (instance.IsFirst())
        while (std::getchar() != EOF) {
        }
    return 0;
}
