#pragma once
// Reads a device node on a thread of its own and hands each read over as it
// comes (one read of a hidraw node is one report). The thread ends by itself
// at end of file or on an error, telling why; stopping it, or destroying
// it, ends it promptly. Callbacks run on the reader's thread.
#include <functional>
#include <string_view>
#include <thread>

namespace zorv::opos::real {

class NodeReader {
public:
    using OnBytes = std::function<void(std::string_view)>;
    // 0: end of file (the writer went away); else the errno value of the read.
    using OnEnd = std::function<void(int error)>;

    NodeReader() = default;
    ~NodeReader() { Stop(); }
    NodeReader(const NodeReader&) = delete;
    NodeReader& operator=(const NodeReader&) = delete;

    // False with errno set when the thread cannot be started.
    bool Start(int fd, OnBytes onBytes, OnEnd onEnd);
    void Stop();

private:
    void Run(int fd, const OnBytes& onBytes, const OnEnd& onEnd);

    std::thread thread_;
    int wake_[2] = {-1, -1};
};

} // namespace zorv::opos::real
