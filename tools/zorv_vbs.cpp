// zorv-vbs [--timeout MS] [--memory-limit MB] [--junit REPORT] FILE [PROCEDURE [ARG...] | -- [ARG...]]
// zorv-vbs --components
// zorv-vbs --list-devices [--kind KIND] [--root DIR]
// Runs a script file through the "ScriptControl" component: sets Language,
// adds the WScript object and the file's text, then runs PROCEDURE with the
// given text arguments. After "--" no procedure runs and the arguments are
// only WScript.Arguments, as for a classic command-line host. MsgBox and
// WScript.Echo print on stdout, InputBox reads stdin. Exit status: 0 success,
// 1 script error (FILE:LINE:COLUMN: description on stderr), 2 usage or file
// error, or the code given to WScript.Quit.
// --timeout stops a script that runs longer than MS milliseconds, without
// asking; --memory-limit bounds what the script's texts and arrays may hold;
// --junit runs the script's Test_ procedures as test cases and writes REPORT.
// FILE must be a regular file of at most 64 MB. --components lists the
// components found and every problem met loading them; --list-devices the
// devices a profile could name.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "component_listing.h"
#include "device_listing.h"
#include "junit_report.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr_value.h"
#include "platform/com/class_table.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/member_id.h"
#include "platform/com/text.h"
#include "platform/com/variant_value.h"
#include "platform/ui/console_user_interface.h"
#include "script/script_text.h"
#include "script/wscript/control_errors.h"
#include "script/wscript/wscript_object.h"

using namespace zorv;

namespace {

// The engine's question when a script outlives its Timeout.
constexpr std::u16string_view kStopQuestion =
    u"Le script s'exécute depuis longtemps. Voulez-vous l'arrêter ?";

struct Options {
    long timeoutMs = -1;
    long memoryLimitMb = 0; // 0: the engine's own bound
    std::string junit;      // the report's path, in test mode
    int first = 1;          // the index of FILE
};

// Boxes go to the console; posted calls run first, as a modal box's loop would run them.
// With --timeout the question whether to stop a long script is answered Yes at once.
class RunnerInterface : public ui::ConsoleUserInterface {
public:
    ui::Answer ShowMessage(const ui::Message& message) override {
        if (stopWithoutAsking && message.text == kStopQuestion && message.buttons == ui::Buttons::YesNo)
            return ui::Answer::Yes;
        com::DrainPostedCalls();
        return ConsoleUserInterface::ShowMessage(message);
    }
    bool stopWithoutAsking = false;
    std::optional<std::u16string> AskText(const ui::TextRequest& request) override {
        com::DrainPostedCalls();
        return ConsoleUserInterface::AskText(request);
    }
};

struct Failure {
    HRESULT code;
};

DISPID IdOf(IDispatch* object, const char16_t* name) {
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = com::MemberIdOf(object, name, &id);
    if (FAILED(hr))
        throw Failure{hr};
    return id;
}

// args in natural order.
com::Variant Call(IDispatch* object, const char16_t* name, WORD flags, std::vector<com::Variant> args) {
    std::vector<VARIANT> slots;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        slots.push_back(*it->Raw());
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{slots.data(), put ? &putId : nullptr, static_cast<UINT>(slots.size()), put ? 1u : 0u};
    com::Variant result;
    EXCEPINFO info{};
    UINT argError = 0;
    const HRESULT hr = object->Invoke(IdOf(object, name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      put ? nullptr : result.Raw(), &info, &argError);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (FAILED(hr))
        throw Failure{hr};
    return result;
}

std::string Text(const com::Variant& value) {
    std::u16string text;
    value.ToString(text);
    return com::Utf16ToUtf8(text);
}

int ReportScriptError(IDispatch* control, const std::string& file) {
    try {
        com::Variant error = Call(control, u"Error", DISPATCH_PROPERTYGET, {});
        IDispatch* object = error.vt == VT_DISPATCH ? error.pdispVal : nullptr;
        if (object == nullptr)
            throw Failure{E_FAIL};
        std::cerr << file << ':' << Text(Call(object, u"Line", DISPATCH_PROPERTYGET, {})) << ':'
                  << Text(Call(object, u"Column", DISPATCH_PROPERTYGET, {})) << ": "
                  << Text(Call(object, u"Description", DISPATCH_PROPERTYGET, {})) << std::endl;
    } catch (const Failure& failure) {
        std::cerr << file << ":0:0: erreur " << std::hex << failure.code << std::endl;
    }
    return 1;
}

// The WScript object of this host: output on stdout, Quit ends the process
// (except in a test suite, whose report must still be written).
com::ComPtr<IDispatch> MakeWScript(IDispatch* control, const std::string& file,
                                   std::vector<std::u16string> arguments, RunnerInterface& console,
                                   bool allowQuit) {
    tools::WScriptHost host;
    std::error_code failed;
    host.scriptFullName = com::Utf8ToUtf16(std::filesystem::absolute(file, failed).string());
    host.hostFullName = com::Utf8ToUtf16(std::filesystem::read_symlink("/proc/self/exe", failed).string());
    host.arguments = std::move(arguments);
    host.control = control;
    host.console = true;
    host.echo = [](std::u16string_view line) { std::cout << com::Utf16ToUtf8(line) << std::endl; };
    if (allowQuit) {
        host.quit = [](int code) {
            std::cout.flush();
            std::cerr.flush();
            std::exit(code);
        };
    }
    host.setTimeout = [control, &console](long seconds) {
        console.stopWithoutAsking = seconds > 0;
        Call(control, u"Timeout", DISPATCH_PROPERTYPUT,
             {com::Variant(LONG{seconds > 0 ? static_cast<LONG>(seconds * 1000) : -1})});
    };
    return tools::MakeWScript(std::move(host));
}

std::string ErrorLine(IDispatch* control) {
    try {
        com::Variant error = Call(control, u"Error", DISPATCH_PROPERTYGET, {});
        IDispatch* object = error.vt == VT_DISPATCH ? error.pdispVal : nullptr;
        if (object == nullptr)
            throw Failure{E_FAIL};
        return Text(Call(object, u"Line", DISPATCH_PROPERTYGET, {})) + ':' +
               Text(Call(object, u"Column", DISPATCH_PROPERTYGET, {})) + ": " +
               Text(Call(object, u"Description", DISPATCH_PROPERTYGET, {}));
    } catch (const Failure& failure) {
        return "0:0: erreur " + std::to_string(failure.code);
    }
}

// Runs each Test_ procedure on its own and writes the report; 0 when all passed.
int RunTests(IDispatch* control, const std::string& file, const std::u16string& source,
             const std::string& report, std::optional<std::string> loadError) {
    std::vector<tools::TestCase> cases;
    for (const std::u16string& name :
         loadError ? std::vector<std::u16string>{} : tools::FindTestProcedures(source)) {
        tools::TestCase test;
        test.name = com::Utf16ToUtf8(name);
        const auto start = std::chrono::steady_clock::now();
        try {
            Call(control, u"Run", DISPATCH_METHOD, {com::Variant(std::u16string_view(name))});
            com::DrainPostedCalls();
            // A handler that failed once the test had returned fails it too.
            if (com::Variant number = Call(Call(control, u"Error", DISPATCH_PROPERTYGET, {}).pdispVal,
                                           u"Number", DISPATCH_PROPERTYGET, {});
                number.lVal != 0)
                test.failure = ErrorLine(control);
        } catch (const Failure&) {
            test.failure = ErrorLine(control);
        }
        test.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (test.failure)
            std::cerr << file << ':' << *test.failure << " (" << test.name << ")" << std::endl;
        cases.push_back(std::move(test));
    }
    std::ofstream out(report, std::ios::binary | std::ios::trunc);
    tools::WriteJUnit(out, std::filesystem::path(file).stem().string(), cases, loadError);
    out.close();
    if (!out) {
        std::cerr << "zorv-vbs: impossible d'écrire le rapport " << report << std::endl;
        return 2;
    }
    const bool passed = !loadError && std::none_of(cases.begin(), cases.end(),
                                                   [](const auto& c) { return c.failure.has_value(); });
    return passed ? 0 : 1;
}

int RunFile(int argc, char** argv, const Options& options, RunnerInterface& console) {
    argc -= options.first - 1;
    argv += options.first - 1;
    const std::string file = argv[1];
    script::ScriptRead source = script::ReadScriptText(file);
    if (!source.file.Read()) {
        std::cerr << "zorv-vbs: impossible de lire " << file << " : " << source.why << std::endl;
        return 2;
    }
    CLSID clsid;
    com::ComPtr<IDispatch> control;
    if (FAILED(com::FindClass(com::OwnClass(u"ScriptControl"), &clsid)) ||
        FAILED(com::CreateInstance(clsid, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   control.ReleaseAndGetVoidAddress()))) {
        std::cerr << "zorv-vbs: le composant \"ScriptControl\" n'est pas disponible" << std::endl;
        for (const std::string& why : com::ComponentDiagnostics())
            std::cerr << "  " << why << std::endl;
        return 2;
    }
    // After "--" every word is an argument of the script; otherwise those after PROCEDURE are.
    const bool plainArguments = argc > 2 && std::strcmp(argv[2], "--") == 0;
    std::vector<std::u16string> arguments;
    for (int i = 3; i < argc; ++i)
        arguments.push_back(com::Utf8ToUtf16(argv[i]));
    const std::u16string text = std::move(source.script.text);
    bool handlerFailed = false;
    tools::ControlErrors handlerErrors(control.Get(), [&handlerFailed] { handlerFailed = true; });
    try {
        Call(control.Get(), u"Language", DISPATCH_PROPERTYPUT, {com::Variant(u"VBScript")});
        Call(control.Get(), u"AddObject", DISPATCH_METHOD,
             {com::Variant(u"WScript"),
              com::Variant(
                  MakeWScript(control.Get(), file, arguments, console, options.junit.empty()).Get())});
        Call(control.Get(), u"Timeout", DISPATCH_PROPERTYPUT,
             {com::Variant(LONG{static_cast<LONG>(options.timeoutMs)})});
        if (options.memoryLimitMb > 0)
            Call(control.Get(), u"MemoryLimit", DISPATCH_PROPERTYPUT,
                 {com::Variant(LONG{static_cast<LONG>(options.memoryLimitMb)})});
        if (!options.junit.empty()) {
            std::optional<std::string> loadError;
            try {
                Call(control.Get(), u"AddCode", DISPATCH_METHOD, {com::Variant(std::u16string_view(text))});
                com::DrainPostedCalls();
            } catch (const Failure&) {
                loadError = ErrorLine(control.Get());
                std::cerr << file << ':' << *loadError << std::endl;
            }
            return RunTests(control.Get(), file, text, options.junit, loadError);
        }
        Call(control.Get(), u"AddCode", DISPATCH_METHOD, {com::Variant(std::u16string_view(text))});
        com::DrainPostedCalls();
        if (argc > 2 && !plainArguments) {
            std::vector<com::Variant> args{com::Variant(com::Utf8ToUtf16(argv[2]))};
            for (int i = 3; i < argc; ++i)
                args.emplace_back(com::Utf8ToUtf16(argv[i]));
            Call(control.Get(), u"Run", DISPATCH_METHOD, std::move(args));
            com::DrainPostedCalls();
        }
    } catch (const Failure&) {
        return ReportScriptError(control.Get(), file);
    }
    // An event handler that failed after the script returned.
    return handlerFailed ? ReportScriptError(control.Get(), file) : 0;
}

// Reads the options before FILE; false on a bad one.
bool ReadOptions(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
        if (std::strcmp(argv[i], "--junit") == 0) {
            options.junit = argv[i + 1];
            continue;
        }
        char* end = nullptr;
        const long value = std::strtol(argv[i + 1], &end, 10);
        if (end == argv[i + 1] || *end != '\0' || value < 0 || value > 0x7FFFFFFF)
            return false;
        if (std::strcmp(argv[i], "--timeout") == 0) {
            options.timeoutMs = value;
        } else if (std::strcmp(argv[i], "--memory-limit") == 0 && value > 0) {
            options.memoryLimitMb = value;
        } else {
            return false;
        }
    }
    options.first = i;
    return i < argc && argv[i][0] != '-';
}

} // namespace

int Main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--components") == 0)
        return ListComponents();
    if (argc >= 2 && std::strcmp(argv[1], "--list-devices") == 0)
        return ListDevices(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    Options options;
    if (!ReadOptions(argc, argv, options)) {
        std::cerr << "usage: zorv-vbs [--timeout MS] [--memory-limit MO] [--junit RAPPORT] FICHIER "
                     "[PROCEDURE [ARGUMENT...] | -- [ARGUMENT...]]"
                  << std::endl;
        return 2;
    }
    com::EnterApartment();
    RunnerInterface console;
    console.stopWithoutAsking = options.timeoutMs >= 0;
    ui::SetUserInterface(&console);
    const int status = RunFile(argc, argv, options, console);
    ui::SetUserInterface(nullptr);
    com::LeaveApartment();
    return status;
}

// Nothing may leave main: a failure the runner did not foresee is still reported.
int main(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "zorv-vbs: erreur interne : " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "zorv-vbs: erreur interne" << std::endl;
    }
    return 2;
}
