#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shellext/ClassId.h"
#include "tests/shellext/ExtensionTestSupport.h"

// The COM contract of QlnExt.dll as the shell meets it: the exports, the
// class factory, the interfaces and the object count that lets the shell
// unload the module.

namespace {

using ext_test::CFakeDataObject;
using ext_test::DropAnswer;
using ext_test::ExtensionTest;

void* const kGarbage = reinterpret_cast<void*>(0x1234);

std::vector<std::string> ExportedNames(HMODULE module, DWORD& functions) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    functions = exports->NumberOfFunctions;
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) result.push_back(reinterpret_cast<const char*>(base + names[i]));
    return result;
}

TEST_F(ExtensionTest, ExportsExactlyTheTwoComEntryPoints) {
    DWORD functions = 0;
    const std::vector<std::string> names = ExportedNames(extension_.module(), functions);
    EXPECT_EQ(names, (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject"}));
    EXPECT_EQ(functions, 2u) << "no export by ordinal only";
}

TEST(ClassId, TextAndBinaryFormsNameTheSameClass) {
    const std::string text = QLN_EXT_CLSID_TEXT;
    CLSID parsed{};
    ASSERT_EQ(::CLSIDFromString(std::wstring(text.begin(), text.end()).c_str(), &parsed), S_OK);
    EXPECT_TRUE(IsEqualGUID(parsed, kQlnExtClsid));
}

struct ClassObjectCase {
    const char* name;
    const CLSID* clsid;
    const IID* iid;
    bool nullOut;
    HRESULT expected;
};

TEST_F(ExtensionTest, DllGetClassObjectAnswersOnlyItsClassAndTheFactoryInterfaces) {
    const CLSID other = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
    const ClassObjectCase cases[] = {
        {"factory", &kQlnExtClsid, &IID_IClassFactory, false, S_OK},
        {"unknown", &kQlnExtClsid, &IID_IUnknown, false, S_OK},
        {"another class", &other, &IID_IClassFactory, false, CLASS_E_CLASSNOTAVAILABLE},
        {"an interface the factory lacks", &kQlnExtClsid, &IID_IContextMenu, false, E_NOINTERFACE},
        {"null out-pointer", &kQlnExtClsid, &IID_IClassFactory, true, E_POINTER},
        {"null class id", nullptr, &IID_IClassFactory, false, E_INVALIDARG},
        {"null interface id", &kQlnExtClsid, nullptr, false, E_INVALIDARG},
    };
    for (const ClassObjectCase& c : cases) {
        SCOPED_TRACE(c.name);
        void* out = kGarbage;
        EXPECT_EQ(extension_.getClassObject(c.clsid, c.iid, c.nullOut ? nullptr : &out), c.expected);
        if (c.nullOut) continue;
        if (SUCCEEDED(c.expected)) {
            ASSERT_NE(out, nullptr);
            static_cast<IUnknown*>(out)->Release();
        } else {
            EXPECT_EQ(out, nullptr);
        }
        // A refused request leaves no factory behind.
        EXPECT_EQ(extension_.canUnloadNow(), S_OK);
    }
}

TEST_F(ExtensionTest, TheFactoryMakesExtensionsAndRefusesWhatItCannotMake) {
    const win::ComPtr<IClassFactory> factory = extension_.factory();
    ASSERT_TRUE(factory);

    void* unknown = kGarbage;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, factory.get());
    static_cast<IUnknown*>(unknown)->Release();
    void* none = kGarbage;
    EXPECT_EQ(factory->QueryInterface(IID_IContextMenu, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(factory->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    win::ComPtr<IUnknown> outer;
    factory->QueryInterface(IID_IUnknown, outer.outVoid());
    void* made = kGarbage;
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IContextMenu, &made), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(made, nullptr);
    made = kGarbage;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &made), E_NOINTERFACE);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, nullptr), E_POINTER);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    // The teardown's DllCanUnloadNow shows that the refused objects are gone.
}

TEST_F(ExtensionTest, QueryInterfaceGivesTheInitInterfaceForIUnknown) {
    const win::ComPtr<IContextMenu> menu = extension_.create();
    ASSERT_TRUE(menu);
    win::ComPtr<IShellExtInit> init;
    ASSERT_EQ(menu->QueryInterface(IID_IShellExtInit, init.outVoid()), S_OK);
    EXPECT_NE(static_cast<void*>(init.get()), static_cast<void*>(menu.get()));

    struct Case {
        const char* name;
        const IID* iid;
        HRESULT expected;
        void* pointer;
    } const cases[] = {
        {"IShellExtInit", &IID_IShellExtInit, S_OK, init.get()},
        {"IUnknown", &IID_IUnknown, S_OK, init.get()},
        {"IContextMenu", &IID_IContextMenu, S_OK, menu.get()},
        {"IContextMenu2", &IID_IContextMenu2, E_NOINTERFACE, nullptr},
        {"IDataObject", &IID_IDataObject, E_NOINTERFACE, nullptr},
    };
    for (IUnknown* from : {static_cast<IUnknown*>(menu.get()), static_cast<IUnknown*>(init.get())}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            void* out = kGarbage;
            EXPECT_EQ(from->QueryInterface(*c.iid, &out), c.expected);
            EXPECT_EQ(out, c.pointer);
            if (out) static_cast<IUnknown*>(out)->Release();
        }
        EXPECT_EQ(from->QueryInterface(IID_IContextMenu, nullptr), E_POINTER);
    }
    EXPECT_EQ(menu->AddRef(), 3u);
    EXPECT_EQ(menu->Release(), 2u);
}

TEST_F(ExtensionTest, DllCanUnloadNowFollowsTheLiveObjects) {
    EXPECT_EQ(extension_.canUnloadNow(), S_OK);
    win::ComPtr<IClassFactory> factory = extension_.factory();
    ASSERT_TRUE(factory);
    EXPECT_EQ(extension_.canUnloadNow(), S_FALSE) << "a factory lives";
    win::ComPtr<IContextMenu> menu;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, menu.outVoid()), S_OK);
    factory.reset();
    EXPECT_EQ(extension_.canUnloadNow(), S_FALSE) << "an extension object lives";
    menu.reset();
    EXPECT_EQ(extension_.canUnloadNow(), S_OK);
}

TEST_F(ExtensionTest, InitializeHoldsOneDataObjectAtATime) {
    CFakeDataObject first(DropAnswer::NoFileList);
    CFakeDataObject second(DropAnswer::NoFileList);
    {
        win::ComPtr<IContextMenu> menu = extension_.create();
        win::ComPtr<IShellExtInit> init;
        ASSERT_EQ(menu->QueryInterface(IID_IShellExtInit, init.outVoid()), S_OK);

        EXPECT_EQ(init->Initialize(nullptr, &first, nullptr), S_OK);
        EXPECT_EQ(first.references(), 2);
        EXPECT_EQ(init->Initialize(nullptr, &second, nullptr), S_OK);
        EXPECT_EQ(first.references(), 1) << "the earlier one is let go";
        EXPECT_EQ(second.references(), 2);
        EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
        EXPECT_EQ(second.references(), 1) << "a null data object leaves nothing held";
        EXPECT_EQ(init->Initialize(nullptr, &second, nullptr), S_OK);
    }
    EXPECT_EQ(second.references(), 1) << "the last release lets the data object go";
}

}  // namespace
