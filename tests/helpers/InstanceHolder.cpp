// Takes a named instance block in a process of its own: prints the state it got
// and keeps the block until its standard input closes or it is killed.

#include "platform/SingleInstance.h"

#include <cstdio>

using vtl::platform::NamedInstanceBlock;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vtl_instance_holder <block name>\n", stderr);
        return 2;
    }
    const NamedInstanceBlock block(QString::fromLocal8Bit(argv[1]));
    switch (block.state()) {
    case NamedInstanceBlock::State::Created:
        std::puts("Created");
        break;
    case NamedInstanceBlock::State::AlreadyExists:
        std::puts("AlreadyExists");
        break;
    case NamedInstanceBlock::State::Failed:
        std::puts("Failed");
        break;
    }
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
