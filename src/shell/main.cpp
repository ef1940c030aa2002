// The entry point: parse the command line, then run the game.
#include "shell/options.h"
#include "shell/run_game.h"

int main(int argc, char** argv) {
    TRunOptions options;
    int code = ParseCommandLine(argc, argv, &options);
    if (code >= 0) return code;
    return RunGame(options);
}
