#pragma once
// What the back ends read from an input or hidraw node share: the node is
// opened when the device first opens and read all along (input that comes
// while nobody is enabled is dropped by the model); the device is taken for
// this program while enabled when `hold` is set; unplugging is off and
// offline until the path comes back. Such devices take no output.
#include <string>

#include "model/backend.h"
#include "backends/input/watched_node.h"

namespace zorv::opos::real {

class NodeBackend : public Backend {
public:
    NodeBackend(std::string path, bool hold);

    void Start(BackendEvents& events) override;
    HealthReport Prepare() override;
    void Disable() override;
    void Disconnect() override;
    void Send(std::uint64_t ticket, const Output& output) override;
    HealthReport CheckHealth(LONG level) override;
    LONG CompareFirmware(std::u16string_view file, LONG& result) override;
    LONG UpdateFirmware(std::u16string_view file) override;
    std::optional<LONG> DirectIO(LONG, LONG&, std::u16string&) override { return std::nullopt; }
    std::u16string Interface() const override { return u"Input"; }

protected:
    // One read from the node, on the apartment thread.
    virtual void Bytes(const std::string& bytes) = 0;
    // The device went away: what was half read is dropped.
    virtual void Lost() {}
    BackendEvents& Events() { return *events_; }

private:
    bool hold_;
    BackendEvents* events_ = nullptr;
    WatchedNode node_;
};

} // namespace zorv::opos::real
