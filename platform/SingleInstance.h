#pragma once

// A named, system-wide "only one copy" block. Whoever holds the lock owns the
// block; the lock goes away with its process.

#include <QString>

namespace vtl::platform {

class NamedInstanceBlock {
public:
    enum class State { Created, AlreadyExists, Failed };

    explicit NamedInstanceBlock(const QString& name);
    ~NamedInstanceBlock();
    NamedInstanceBlock(const NamedInstanceBlock&) = delete;
    NamedInstanceBlock& operator=(const NamedInstanceBlock&) = delete;

    State state() const { return m_state; }

private:
    int m_fd = -1;
    State m_state = State::Failed;
};

} // namespace vtl::platform
