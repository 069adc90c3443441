#include "app/real_device_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <unistd.h>

#include "app/posted_call_pump.h"
#include "app/simulator_panel.h"
#include "app/window_probe.h"
#include "outside/error_report.h"
#include "views/event_text.h"

namespace zorv::testing {
namespace {

std::filesystem::path ProfilePath() {
    return std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
}

} // namespace

// The test engine the fixture registers steps aside for the installed one.
RealDeviceWindow::RealDeviceWindow() {
    scriptEngine.reset();
    app::DrivePostedCallsFromQt();
}

RealDeviceWindow::~RealDeviceWindow() {
    // The devices close with the window, while their posted calls still run.
    window.reset();
    QCoreApplication::processEvents();
    app::StopDrivingPostedCalls();
    if (ownsProfiles_)
        std::filesystem::remove(ProfilePath());
}

void RealDeviceWindow::OpenThroughTheDialog(const QString& kind, const std::u16string& name) {
    Choose(*window, kind);
    AnswerDialog(name);
    window->BtnOpen->click();
}

void RealDeviceWindow::RunScript(const QString& script, const QString& procedure) {
    window->SetScriptText(script);
    window->EdtFonction->setText(procedure);
    outside::Guarded([this] { window->BtnExecuterClick(); });
}

bool RealDeviceWindow::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        usleep(2000);
    }
    return true;
}

QString RealDeviceWindow::Value(const QString& name) {
    for (const auto& [caption, value] : ValueRows(*window))
        if (caption == name + QStringLiteral(" :"))
            return value;
    return QStringLiteral("(no row %1)").arg(name);
}

bool RealDeviceWindow::Checked(const QString& name) {
    for (const CheckRow& row : CheckRows(*window))
        if (row.name == name)
            return row.checked;
    ADD_FAILURE() << "no check row " << name.toStdString();
    return false;
}

bool RealDeviceWindow::Logged(const QString& kind, const QString& part) {
    const views::EventLog& log = window->EventLog();
    for (std::size_t i = 0; i < log.Size(); ++i) {
        const views::EventLogEntry& entry = log.At(i);
        const QString text = views::EntryText(entry, views::EventLogColumn::Kind) + QLatin1Char(' ') +
                             views::EntryText(entry, views::EventLogColumn::Event) + QLatin1Char(' ') +
                             views::EntryText(entry, views::EventLogColumn::Details);
        if (text.startsWith(kind + QLatin1Char(' ')) && text.contains(part))
            return true;
    }
    return false;
}

bool RealDeviceWindow::PanelStaysOff() {
    window->MntSimulateur->trigger();
    app::TSimulatorPanel& panel = *window->SimulatorPanel();
    const bool off =
        !panel.InputsEnabled() && panel.LbEtat->text().contains(QStringLiteral("n'est pas simulé"));
    panel.hide();
    return off;
}

void RealDeviceWindow::WriteProfiles(const std::string& text) {
    std::ofstream(ProfilePath(), std::ios::binary) << text;
    ownsProfiles_ = true;
}

PseudoSerialDevice::PseudoSerialDevice() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorv-window-line-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("no temporary folder");
    dir_ = pattern;
    link_ = dir_ / "ttyZORV";
    Plug();
}

PseudoSerialDevice::~PseudoSerialDevice() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void PseudoSerialDevice::Plug() {
    pty_ = device_test::OpenPseudoTerminal();
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    std::filesystem::create_symlink(pty_.name, link_);
}

void PseudoSerialDevice::Unplug() {
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    pty_ = {};
}

void PseudoSerialDevice::Send(const std::string& bytes) {
    device_test::WriteAll(pty_.far.get(), bytes);
}

// The window's loop keeps running meanwhile: output may leave from a posted call.
std::string PseudoSerialDevice::Received(int quietMs) {
    std::string bytes;
    char buffer[4096];
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < quietMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd ready{pty_.far.get(), POLLIN, 0};
        if (poll(&ready, 1, 10) <= 0 || (ready.revents & POLLIN) == 0)
            continue;
        const ssize_t n = read(pty_.far.get(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        quiet.restart();
    }
    return bytes;
}

} // namespace zorv::testing
