// peak_memory FILE PROGRAM [ARGUMENTS...]: runs the program and writes its peak resident memory (maxRSS,
// in kilobytes) into FILE; exits as the program did. A small process of its own, so the measure is the
// program's alone: a process started straight from a large one would count that one's peak too.
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "uso: peak_memory ARQUIVO PROGRAMA [ARGUMENTOS...]\n");
        return 2;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[2], argv + 2);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child) {
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        return 2;
    }
    std::fprintf(out, "%ld\n", usage.ru_maxrss);
    std::fclose(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
