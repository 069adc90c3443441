// zorv-vbs [--timeout MS] [--memory-limit MB] FILE [PROCEDURE [ARG...]]
// zorv-vbs --components
// zorv-vbs --list-devices
// Runs a script file through the "ScriptControl" component: sets Language,
// adds the file's text, then runs PROCEDURE with the given text arguments.
// MsgBox prints on stdout, InputBox reads stdin. Exit status: 0 success,
// 1 script error (FILE:LINE:COLUMN: description on stderr), 2 usage or file error.
// --timeout stops a script that runs longer than MS milliseconds, without
// asking; --memory-limit bounds what the script's texts and arrays may hold.
// FILE must be a regular file of at most 64 MB. --components lists the
// components found and every problem met loading them; --list-devices the
// devices a profile could name.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "component_listing.h"
#include "device_listing.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr_value.h"
#include "platform/com/class_table.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/text.h"
#include "platform/com/variant_value.h"
#include "platform/ui/console_user_interface.h"
#include "script/script_text.h"

using namespace zorv;

namespace {

// The engine's question when a script outlives its Timeout.
constexpr std::u16string_view kStopQuestion = u"Le script s'exécute depuis longtemps. Voulez-vous l'arrêter ?";

struct Options {
    long timeoutMs = -1;
    long memoryLimitMb = 0; // 0: the engine's own bound
    int first = 1; // the index of FILE
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
    std::u16string text(name);
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
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

int RunFile(int argc, char** argv, const Options& options) {
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
    if (FAILED(CLSIDFromProgID(u"ScriptControl", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.ReleaseAndGetVoidAddress()))) {
        std::cerr << "zorv-vbs: le composant \"ScriptControl\" n'est pas disponible" << std::endl;
        for (const std::string& why : com::ComponentDiagnostics())
            std::cerr << "  " << why << std::endl;
        return 2;
    }
    try {
        Call(control.Get(), u"Language", DISPATCH_PROPERTYPUT, {com::Variant(u"VBScript")});
        Call(control.Get(), u"Timeout", DISPATCH_PROPERTYPUT, {com::Variant(LONG{static_cast<LONG>(options.timeoutMs)})});
        if (options.memoryLimitMb > 0)
            Call(control.Get(), u"MemoryLimit", DISPATCH_PROPERTYPUT,
                 {com::Variant(LONG{static_cast<LONG>(options.memoryLimitMb)})});
        Call(control.Get(), u"AddCode", DISPATCH_METHOD, {com::Variant(std::move(source.script.text))});
        com::DrainPostedCalls();
        if (argc > 2) {
            std::vector<com::Variant> args{com::Variant(com::Utf8ToUtf16(argv[2]))};
            for (int i = 3; i < argc; ++i)
                args.emplace_back(com::Utf8ToUtf16(argv[i]));
            Call(control.Get(), u"Run", DISPATCH_METHOD, std::move(args));
            com::DrainPostedCalls();
        }
    } catch (const Failure&) {
        return ReportScriptError(control.Get(), file);
    }
    return 0;
}

// Reads the options before FILE; false on a bad one.
bool ReadOptions(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
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
    if (argc == 2 && std::strcmp(argv[1], "--list-devices") == 0)
        return ListDevices(std::cout);
    Options options;
    if (!ReadOptions(argc, argv, options)) {
        std::cerr << "usage: zorv-vbs [--timeout MS] [--memory-limit MO] FICHIER [PROCEDURE [ARGUMENT...]]"
                  << std::endl;
        return 2;
    }
    CoInitialize(nullptr);
    RunnerInterface console;
    console.stopWithoutAsking = options.timeoutMs >= 0;
    ui::SetUserInterface(&console);
    const int status = RunFile(argc, argv, options);
    ui::SetUserInterface(nullptr);
    CoUninitialize();
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
