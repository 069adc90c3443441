// "Morvel.Registry": AddObject(name, object) publishes, GetObject(name) fetches,
// names compared exactly. Both arguments may come by value or by reference.
#include "object_table.h"
#include "platform/com/inproc_server.h"
#include "platform/com/table_dispatch.h"

namespace zorv::registry {
namespace {

using namespace zorv::com;

constexpr CLSID kRegistryClsid = {
    0x5D2A7F90, 0x6C1B, 0x4E3A, {0x9B, 0x8D, 0x2F, 0x4C, 0x6A, 0x1E, 0x7B, 0x30}};

std::u16string Quoted(const std::u16string& name) {
    return u"« " + name + u" »";
}

class Registry final : public TableDispatch<Registry> {
public:
    Registry() { ObjectTable::Instance().AddHolder(); }
    ~Registry() override { ObjectTable::Instance().RemoveHolder(); }

    static const DispatchTable<Registry>& DispatchMembers() {
        static const DispatchTable<Registry> table{
            {u"AddObject", 1, nullptr, nullptr, &Registry::AddObject},
            {u"GetObject", 2, nullptr, nullptr, &Registry::GetObject},
        };
        return table;
    }

protected:
    std::u16string_view DispatchSource() const override { return u"Morvel.Registry"; }

private:
    void AddObject(const DispatchArgs& args, VARIANT&) {
        args.ExpectCount(2, 2);
        const std::u16string name = args.String(0);
        if (name.empty())
            throw DispatchException(u"AddObject : le nom de l'objet est vide", E_INVALIDARG);
        ComPtr<IDispatch> object = args.Object(1);
        if (!object)
            throw DispatchException(u"AddObject : la valeur publiée sous " + Quoted(name) +
                                        u" n'est pas un objet",
                                    DISP_E_TYPEMISMATCH);
        ObjectTable::Instance().Publish(name, std::move(object));
    }

    void GetObject(const DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 1);
        const std::u16string name = args.String(0);
        ComPtr<IDispatch> object = ObjectTable::Instance().Find(name);
        if (!object)
            throw DispatchException(u"GetObject : aucun objet n'est publié sous le nom " + Quoted(name),
                                    E_INVALIDARG);
        result.vt = VT_DISPATCH;
        result.pdispVal = object.Detach();
    }
};

HRESULT CreateRegistry(REFIID riid, void** ppv) {
    return CreateObjectOf<Registry>(riid, ppv);
}

constexpr ServedClass kClasses[] = {{kRegistryClsid, &CreateRegistry, u"Morvel.Registry"}};

} // namespace
} // namespace zorv::registry

ZORV_COMPONENT_ENTRY_POINTS(zorv::registry::kClasses)
