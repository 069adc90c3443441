#pragma once
// zorv-virtual-printer on a free loopback port for one test: its print
// port, its control channel and its transcript.
#include <QProcess>
#include <QTemporaryDir>
#include <string>

namespace escpos_device_test {

class VirtualPrinter {
public:
    VirtualPrinter();
    ~VirtualPrinter();

    bool Running() const { return printPort_ != 0; }
    std::u16string Connection() const;
    int PrintPort() const { return printPort_; }
    // One control command; answers the printer's reply line.
    std::string Control(const std::string& command);
    // The transcript so far, once it holds `wanted` (or after a timeout).
    std::string Transcript(const std::string& wanted = {});
    QString Folder() const { return out_.path(); }
    void Stop();

private:
    QTemporaryDir out_;
    QProcess process_;
    int printPort_ = 0;
    int controlPort_ = 0;
};

// The profile file beside the components, holding `text` for one test.
class ProfileFile {
public:
    explicit ProfileFile(const std::string& text);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;
};

// Runs posted calls until `done` or the timeout.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);

} // namespace escpos_device_test
