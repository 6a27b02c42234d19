#include <exception>

#include "cli/Quorlin.h"
#include "platform/Console.h"

int main(int argc, char** argv) {
    try {
        return RunQuorlin(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        // Out of memory and the like: one line, and no half-done state hidden.
        platform::WriteText(platform::StandardStream::kError, std::string("quorlin: ") + e.what() + "\n");
        return kExitIncomplete;
    }
}
