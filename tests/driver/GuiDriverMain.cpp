// Reads one request per line from stdin and answers one line on stdout until "quit" or the
// end of its input; whatever it started and is still running is ended before it leaves.
#include <cstdio>
#include <iostream>
#include <string>

#include "DriverCommands.h"

namespace {

std::string Answer(TDriverCommands& commands, const std::string& line) {
    try {
        return commands.Run(TRequest(line));
    } catch (const std::exception& error) {
        return "ERR " + HexEncode(error.what());
    }
}

}  // namespace

int main() {
    TDriverCommands commands;
    std::string line;
    while (!commands.QuitRequested() && std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::string reply = Answer(commands, line);
        std::fwrite(reply.data(), 1, reply.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    if (!commands.QuitRequested()) commands.Run(TRequest("kill_all"));
    return 0;
}
