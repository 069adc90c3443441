#include "hardware/discovery/device_discovery.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zorv::opos::discovery {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Kernel attributes are a page at most; the input device list a few pages.
constexpr std::size_t kAttributeBytes = 4096;
constexpr std::size_t kDeviceListBytes = 64 * 1024;

// The start of a regular file, at most `limit` bytes. The tree may be a copy
// or a guess: a FIFO, a device node or a huge file where an attribute should
// be is read as empty (or cut), never waited on nor held whole.
std::string ReadSmall(const fs::path& path, std::size_t limit) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        text.resize(limit);
        std::size_t got = 0;
        while (got < limit) {
            const ssize_t n = ::read(fd, text.data() + got, limit - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
    }
    ::close(fd);
    return text;
}

std::vector<fs::directory_entry> Entries(const fs::path& dir) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end());
    return entries;
}

// Where a link in a by-id folder points, within the same tree.
fs::path LinkTarget(const fs::directory_entry& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link.path(), error);
    if (error)
        return {};
    return target.is_absolute() ? target : (link.path().parent_path() / target).lexically_normal();
}

Candidate Make(Family family, const std::string& path, const std::string& node, const std::string& name) {
    Candidate candidate{};
    candidate.family = family;
    candidate.path = path;
    candidate.node = node;
    candidate.name = name;
    return candidate;
}

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Built-in 8250 ports the kernel creates whether or not a UART is there.
bool IsPhantomPort(const Roots& roots, const std::string& name) {
    std::error_code error;
    const fs::path device = fs::read_symlink(fs::path(roots.sys) / "class/tty" / name / "device", error);
    return error || device.filename() == "serial8250";
}

void AddSerial(const Roots& roots, const AccessCheck& check, std::vector<Candidate>& out) {
    std::vector<std::string> covered;
    const auto add = [&](const std::string& path, const std::string& node, const std::string& name) {
        Candidate candidate = Make(Family::Serial, path, node, name);
        candidate.access = AccessAdvice(node, R_OK | W_OK, check);
        out.push_back(std::move(candidate));
        covered.push_back(node);
    };
    for (const fs::directory_entry& link : Entries(fs::path(roots.dev) / "serial/by-id")) {
        const fs::path node = LinkTarget(link);
        if (!node.empty())
            add(link.path().string(), node.string(), link.path().filename().string());
    }
    for (const fs::directory_entry& entry : Entries(roots.dev)) {
        const std::string name = entry.path().filename().string();
        const bool usb = StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM");
        const bool builtIn = StartsWith(name, "ttyS") && !IsPhantomPort(roots, name);
        const std::string node = entry.path().string();
        if ((usb || builtIn) && std::find(covered.begin(), covered.end(), node) == covered.end())
            add(node, node, name);
    }
}

std::string FirstLine(const fs::path& path) {
    std::string line = ReadSmall(path, kAttributeBytes);
    return line.substr(0, line.find('\n'));
}

// USB printer-class nodes (/dev/usb/lpN); the USB device above the
// interface names the maker and the model.
void AddUsbPrinters(const Roots& roots, const AccessCheck& check, std::vector<Candidate>& out) {
    for (const fs::directory_entry& entry : Entries(fs::path(roots.dev) / "usb")) {
        const std::string name = entry.path().filename().string();
        if (!StartsWith(name, "lp"))
            continue;
        const fs::path usb = fs::path(roots.sys) / "class/usbmisc" / name / "device/..";
        const std::string maker = FirstLine(usb / "manufacturer");
        const std::string model = FirstLine(usb / "product");
        Candidate candidate = Make(Family::UsbPrinter, entry.path().string(), entry.path().string(),
                                   maker.empty() || model.empty() ? maker + model : maker + " " + model);
        candidate.vendor = Lower(FirstLine(usb / "idVendor"));
        candidate.product = Lower(FirstLine(usb / "idProduct"));
        candidate.access = AccessAdvice(candidate.node, R_OK | W_OK, check); // status comes back on it
        out.push_back(std::move(candidate));
    }
}

struct InputBlock {
    std::string name, vendor, product, event;
    bool keyboard = false;
};

std::string Field(const std::string& line, std::string_view key) {
    const auto at = line.find(key);
    if (at == std::string::npos)
        return {};
    const auto start = at + key.size();
    return line.substr(start, line.find(' ', start) - start);
}

// /proc/bus/input/devices: one block a device, lines "I:", "N:", "H:"...
std::vector<InputBlock> ParseInputDevices(const std::string& text) {
    std::vector<InputBlock> blocks(1);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) {
            blocks.emplace_back();
        } else if (StartsWith(line, "I:")) {
            blocks.back().vendor = Field(line, "Vendor=");
            blocks.back().product = Field(line, "Product=");
        } else if (StartsWith(line, "N: Name=")) {
            std::string name = line.substr(8);
            if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
                name = name.substr(1, name.size() - 2);
            blocks.back().name = name;
        } else if (StartsWith(line, "H: Handlers=")) {
            std::istringstream handlers(line.substr(12));
            for (std::string handler; handlers >> handler;) {
                blocks.back().keyboard = blocks.back().keyboard || handler == "kbd";
                if (StartsWith(handler, "event"))
                    blocks.back().event = handler;
            }
        }
    }
    std::erase_if(blocks, [](const InputBlock& block) { return block.event.empty(); });
    return blocks;
}

void AddInput(const Roots& roots, const AccessCheck& check, std::vector<Candidate>& out) {
    std::map<std::string, std::string> byId; // event node name -> by-id link
    for (const fs::directory_entry& link : Entries(fs::path(roots.dev) / "input/by-id")) {
        const std::string event = LinkTarget(link).filename().string();
        if (StartsWith(event, "event") && !byId.count(event))
            byId[event] = link.path().string();
    }
    for (const InputBlock& block :
         ParseInputDevices(ReadSmall(fs::path(roots.proc) / "bus/input/devices", kDeviceListBytes))) {
        const Guess guess = GuessInputDevice(block.name, block.keyboard);
        if (guess == Guess::Unknown)
            continue; // mice, buttons, sensors
        const std::string node = (fs::path(roots.dev) / "input" / block.event).string();
        const std::string path = byId.count(block.event) ? byId[block.event] : node;
        Candidate candidate = Make(Family::Input, path, node, block.name);
        candidate.vendor = block.vendor;
        candidate.product = block.product;
        candidate.guess = guess;
        candidate.access = AccessAdvice(node, R_OK, check);
        out.push_back(std::move(candidate));
    }
}

// A report descriptor that opens the bar code scanner usage page (0x8C).
bool HasScannerPage(const std::string& descriptor) {
    return descriptor.find("\x05\x8c") != std::string::npos ||
           descriptor.find(std::string("\x06\x8c\x00", 3)) != std::string::npos;
}

void AddHidraw(const Roots& roots, const AccessCheck& check, std::vector<Candidate>& out) {
    for (const fs::directory_entry& entry : Entries(fs::path(roots.sys) / "class/hidraw")) {
        const std::string name = entry.path().filename().string();
        const fs::path device = entry.path() / "device";
        const std::string node = (fs::path(roots.dev) / name).string();
        Candidate candidate = Make(Family::Hidraw, node, node, {});
        std::istringstream uevent(ReadSmall(device / "uevent", kAttributeBytes));
        for (std::string line; std::getline(uevent, line);) {
            if (StartsWith(line, "HID_NAME="))
                candidate.name = line.substr(9);
            if (StartsWith(line, "HID_ID=") && line.size() >= 7 + 22) // bus:vvvvvvvv:pppppppp
                candidate.vendor = Lower(line.substr(7 + 9, 4)),
                candidate.product = Lower(line.substr(7 + 18, 4));
        }
        candidate.guess = HasScannerPage(ReadSmall(device / "report_descriptor", kAttributeBytes))
                              ? Guess::Scanner
                              : Guess::Unknown;
        candidate.access = AccessAdvice(candidate.node, R_OK, check);
        out.push_back(std::move(candidate));
    }
}

} // namespace

const std::vector<Family>& ListedFamilies() {
    static const std::vector<Family> families = {Family::Serial, Family::UsbPrinter, Family::Input,
                                                 Family::Hidraw};
    return families;
}

std::vector<Candidate> ListDevices(const Roots& roots, const AccessCheck& check) {
    std::vector<Candidate> devices;
    AddSerial(roots, check, devices);
    AddUsbPrinters(roots, check, devices);
    AddInput(roots, check, devices);
    AddHidraw(roots, check, devices);
    return devices;
}

} // namespace zorv::opos::discovery
