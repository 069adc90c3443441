#include "script/wscript/wscript_object.h"

#include <chrono>
#include <cmath>

#include "platform/com/apartment.h"
#include "platform/com/class_table.h"
#include "platform/com/member_id.h"
#include "platform/com/text.h"
#include "platform/com/value_list.h"
#include "script/wscript/console_stream.h"
#include "script/wscript/wscript_arguments.h"

namespace zorv::tools {
namespace {

// Errors carry the engine's numbers, so that Err.Number sees them.
constexpr SCODE kInvalidCall = static_cast<SCODE>(0x800A0005u);
constexpr SCODE kCannotCreate = static_cast<SCODE>(0x800A01ADu);

std::u16string FileName(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::u16string Folder(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

void Text(VARIANT& result, std::u16string_view text) {
    result = com::Variant(text).Detach();
}

void Object(VARIANT& result, IDispatch* object) {
    result = com::Variant(object).Detach();
}

// A late-bound call on the control, its failure passed on to the script.
void CallControl(IDispatch* control, const char16_t* name, std::vector<com::Variant> args) {
    if (control == nullptr)
        throw com::DispatchException(u"Aucun contrôle de script pour lier les événements", E_UNEXPECTED);
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(com::MemberIdOf(control, name, &id)))
        throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
    std::vector<VARIANT> slots;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        slots.push_back(*it->Raw());
    DISPPARAMS params{slots.data(), nullptr, static_cast<UINT>(slots.size()), 0};
    EXCEPINFO info{};
    const HRESULT hr =
        control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &info, nullptr);
    const std::u16string description(com::BstrView(info.bstrDescription));
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (hr == DISP_E_EXCEPTION)
        throw com::DispatchException(description, info.scode);
    if (FAILED(hr))
        throw com::DispatchError{hr};
}

// Whether the control asks its host to stop waiting: an event handler failed
// and the script ends at its next statement. A control without that member
// never asks.
bool ControlStopping(IDispatch* control) {
    if (control == nullptr)
        return false;
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(com::MemberIdOf(control, u"Stopping", &id)))
        return false;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    com::Variant stopping;
    if (FAILED(control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, stopping.Raw(),
                               nullptr, nullptr)))
        return false;
    return stopping.vt == VT_BOOL && stopping.boolVal != VARIANT_FALSE;
}

com::ComPtr<IDispatch> Create(const std::u16string& progId) {
    CLSID clsid;
    com::ComPtr<IDispatch> object;
    if (progId.empty() || FAILED(com::FindClass(progId, &clsid)) ||
        FAILED(com::CreateInstance(clsid, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   object.ReleaseAndGetVoidAddress())))
        throw com::DispatchException(u"Un composant ActiveX ne peut pas créer un objet: '" + progId + u"'",
                                     kCannotCreate);
    return object;
}

class WScript final : public com::TableDispatch<WScript> {
public:
    explicit WScript(WScriptHost host) : host_(std::move(host)), arguments_(MakeArguments(host_.arguments)) {}

    static const com::DispatchTable<WScript>& DispatchMembers() {
        static const com::DispatchTable<WScript> table{
            {u"Name", DISPID_VALUE, &WScript::Name},
            {u"Echo", 1, nullptr, nullptr, &WScript::Echo},
            {u"Arguments", 2, nullptr, nullptr, &WScript::Arguments},
            {u"Quit", 3, nullptr, nullptr, &WScript::Quit},
            {u"Sleep", 4, nullptr, nullptr, &WScript::Sleep},
            {u"ScriptName", 5, &WScript::ScriptName},
            {u"ScriptFullName", 6, &WScript::ScriptFullName},
            {u"StdIn", 7, &WScript::StdIn},
            {u"StdOut", 8, &WScript::StdOut},
            {u"StdErr", 9, &WScript::StdErr},
            {u"CreateObject", 10, nullptr, nullptr, &WScript::CreateObject},
            {u"GetObject", 11, nullptr, nullptr, &WScript::GetObject},
            {u"ConnectObject", 12, nullptr, nullptr, &WScript::ConnectObject},
            {u"DisconnectObject", 13, nullptr, nullptr, &WScript::DisconnectObject},
            {u"Timeout", 14, &WScript::GetTimeout, &WScript::PutTimeout},
            {u"Version", 15, &WScript::Version},
            {u"FullName", 16, &WScript::FullName},
            {u"Path", 17, &WScript::Path},
            {u"Interactive", 18, &WScript::Interactive},
        };
        return table;
    }

protected:
    std::u16string_view DispatchSource() const override { return u"WScript"; }

private:
    void Name(VARIANT& result) { Text(result, u"Windows Script Host"); }
    void Version(VARIANT& result) { Text(result, u"5.8"); }
    void FullName(VARIANT& result) { Text(result, host_.hostFullName); }
    void Path(VARIANT& result) { Text(result, Folder(host_.hostFullName)); }
    void ScriptName(VARIANT& result) { Text(result, FileName(host_.scriptFullName)); }
    void ScriptFullName(VARIANT& result) { Text(result, host_.scriptFullName); }
    void Interactive(VARIANT& result) { result = com::Variant(true).Detach(); }
    void Arguments(const com::DispatchArgs& args, VARIANT& result) {
        com::ObjectOrItem(arguments_.Get(), args, result);
    }

    // Echo a, b, c prints the values separated by spaces, on one line.
    void Echo(const com::DispatchArgs& args, VARIANT&) {
        std::u16string line;
        for (UINT i = 0; i < args.Count(); ++i) {
            if (i > 0)
                line += u' ';
            line += EchoText(args.Raw(i));
        }
        if (host_.echo)
            host_.echo(line);
    }

    void Quit(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(0, 1);
        const int code = args.Count() > 0 && !args.IsMissing(0) ? args.Long(0) : 0;
        if (!host_.quit)
            throw com::DispatchException(u"WScript.Quit n'est pas disponible dans cet hôte", kInvalidCall);
        host_.quit(code);
    }

    // Device events and other posted calls run while the script sleeps; a
    // handler that fails among them ends the sleep, and the script with it.
    void Sleep(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(1, 1);
        const LONG ms = args.Long(0);
        if (ms < 0)
            throw com::DispatchException(u"Durée négative pour WScript.Sleep", kInvalidCall);
        IDispatch* control = host_.control;
        com::WaitPumping([control] { return ControlStopping(control); }, std::chrono::milliseconds(ms));
    }

    void Stream(VARIANT& result, StreamKind kind) {
        if (!host_.console)
            throw com::DispatchException(u"Les flux standard ne sont disponibles qu'en ligne de commande",
                                         kInvalidCall);
        com::ComPtr<IDispatch>& stream = streams_[static_cast<int>(kind)];
        if (!stream)
            stream = MakeConsoleStream(kind);
        Object(result, stream.Get());
    }
    void StdIn(VARIANT& result) { Stream(result, StreamKind::In); }
    void StdOut(VARIANT& result) { Stream(result, StreamKind::Out); }
    void StdErr(VARIANT& result) { Stream(result, StreamKind::Err); }

    // CreateObject(progid[, prefix]): with a prefix, the new object's events
    // reach the procedures named prefix + event name.
    void CreateObject(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 2);
        com::ComPtr<IDispatch> object = Create(args.String(0));
        Connect(object.Get(), args, 1);
        Object(result, object.Get());
    }

    // GetObject(name[, progid[, prefix]]): an empty name creates the class
    // named by progid; otherwise the object the registry ("Morvel.Registry")
    // publishes under that name, which is where the window's devices are.
    void GetObject(const com::DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 3);
        const std::u16string name = args.String(0);
        com::ComPtr<IDispatch> object;
        if (name.empty()) {
            if (args.Count() < 2 || args.IsMissing(1))
                throw com::DispatchException(u"GetObject : ni nom ni classe", kInvalidCall);
            object = Create(args.String(1));
        } else {
            object = Published(name);
        }
        Connect(object.Get(), args, 2);
        Object(result, object.Get());
    }

    void ConnectObject(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(2, 2);
        CallControl(host_.control, u"ConnectObject", {args.Value(0), args.Value(1)});
    }

    void DisconnectObject(const com::DispatchArgs& args, VARIANT&) {
        args.ExpectCount(1, 1);
        CallControl(host_.control, u"DisconnectObject", {args.Value(0)});
    }

    void GetTimeout(VARIANT& result) { result = com::Variant(LONG{timeoutSeconds_}).Detach(); }
    void PutTimeout(const VARIANT& value) {
        LONG seconds = 0;
        if (FAILED(com::Variant(value).ToLong(seconds)) || seconds < 0)
            throw com::DispatchException(u"Délai invalide pour WScript.Timeout (secondes)", kInvalidCall);
        timeoutSeconds_ = seconds;
        if (host_.setTimeout)
            host_.setTimeout(seconds);
    }

    void Connect(IDispatch* object, const com::DispatchArgs& args, UINT prefixAt) {
        if (args.Count() > prefixAt && !args.IsMissing(prefixAt))
            CallControl(host_.control, u"ConnectObject",
                        {com::Variant(object), com::Variant(args.String(prefixAt))});
    }

    com::ComPtr<IDispatch> Published(const std::u16string& name) {
        com::ComPtr<IDispatch> registry = Create(com::OwnClass(u"Morvel.Registry"));
        DISPID id = DISPID_UNKNOWN;
        com::Variant key{std::u16string_view(name)};
        com::Variant found;
        DISPPARAMS params{key.Raw(), nullptr, 1, 0};
        if (FAILED(com::MemberIdOf(registry.Get(), u"GetObject", &id)) ||
            FAILED(registry->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, found.Raw(),
                                    nullptr, nullptr)) ||
            found.vt != VT_DISPATCH || found.pdispVal == nullptr)
            throw com::DispatchException(
                u"GetObject : aucun objet n'est publié sous le nom « " + name + u" »", kCannotCreate);
        return com::ComPtr<IDispatch>(found.pdispVal);
    }

    WScriptHost host_;
    com::ComPtr<IDispatch> arguments_;
    com::ComPtr<IDispatch> streams_[3];
    LONG timeoutSeconds_ = 0;
};

std::u16string TwoDigits(long n) {
    return std::u16string(1, static_cast<char16_t>(u'0' + n / 10 % 10)) +
           static_cast<char16_t>(u'0' + n % 10);
}

// dd/mm/yyyy hh:mm:ss as the French engine prints dates: no time at
// midnight, no date for a time alone (day 0). Before 1899 the whole part is
// the day and the fraction, whatever its sign, the time.
std::u16string FrenchDate(double date) {
    const double whole = std::trunc(date);
    long seconds = std::lround(std::fabs(date - whole) * 86400.0);
    long days = static_cast<long>(whole) - 25569 + 719468; // days from 0000-03-01
    if (seconds == 86400) {
        seconds = 0;
        ++days;
    }
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long day = doy - (153 * mp + 2) / 5 + 1;
    const long month = mp < 10 ? mp + 3 : mp - 9;
    const long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    std::u16string text;
    if (whole != 0 || seconds == 0)
        text = TwoDigits(day) + u'/' + TwoDigits(month) + u'/' + com::Utf8ToUtf16(std::to_string(year));
    if (seconds != 0) {
        if (!text.empty())
            text += u' ';
        text +=
            TwoDigits(seconds / 3600) + u':' + TwoDigits(seconds / 60 % 60) + u':' + TwoDigits(seconds % 60);
    }
    return text;
}

} // namespace

std::u16string EchoText(const VARIANT& raw) {
    com::Variant value;
    VariantCopyInd(&value, &raw);
    switch (value.vt) {
    case VT_EMPTY:
        return {};
    case VT_NULL:
        return u"Null";
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE ? u"Vrai" : u"Faux";
    case VT_DATE:
        return FrenchDate(value.date);
    case VT_DISPATCH:
    case VT_UNKNOWN:
        throw com::DispatchError{DISP_E_TYPEMISMATCH};
    default:
        break;
    }
    std::u16string text;
    if (FAILED(value.ToString(text)))
        throw com::DispatchError{DISP_E_TYPEMISMATCH};
    // Numbers take the French decimal comma, as the engine prints them.
    if (value.vt == VT_R4 || value.vt == VT_R8 || value.vt == VT_CY)
        for (char16_t& c : text)
            if (c == u'.')
                c = u',';
    return text;
}

com::ComPtr<IDispatch> MakeWScript(WScriptHost host) {
    return com::ComPtr<IDispatch>(com::MakeObject<WScript>(std::move(host)).Get());
}

} // namespace zorv::tools
