#pragma once
// A magnetic stripe reader on a serial line: it sends each swipe, or each
// track, as a line of tracks between ISO sentinels ended by CR or LF. When
// the far end goes away the device is off and offline until the path
// comes back.
#include "model/backend.h"
#include "backends/swipe_lines.h"
#include "backends/serial/watched_link.h"

namespace zorv::opos::real {

class SerialMsr final : public Backend {
public:
    explicit SerialMsr(transport::Connection connection);

    void Start(BackendEvents& events) override;
    void Send(std::uint64_t ticket, const Output& output) override;
    HealthReport CheckHealth(LONG level) override;
    LONG CompareFirmware(std::u16string_view, LONG&) override;
    LONG UpdateFirmware(std::u16string_view) override;
    std::optional<LONG> DirectIO(LONG, LONG&, std::u16string&) override { return std::nullopt; }
    std::u16string Interface() const override { return u"Serial"; }

private:
    void Bytes(const std::string& bytes);

    BackendEvents* events_ = nullptr;
    std::string line_;
    SwipeLines swipes_;
    WatchedLink link_;
};

} // namespace zorv::opos::real
