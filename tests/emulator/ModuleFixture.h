#pragma once

#include "pkcs11/Pkcs11Interface.h"

#include <qvtoken-core/TokenPresets.h>
#include <qvtoken-core/TokenStore.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// A private state directory per test and the module's two tables, as the program binds them.
class ModuleFixture : public ::testing::Test {
public:
    static CK_UTF8CHAR_PTR pinBytes(const std::string& pin)
    {
        return reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(pin.data()));
    }

protected:
    void SetUp() override
    {
        dir_ =
            std::filesystem::temp_directory_path() / ("qvstandin-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        ::setenv("QVTOKEN_STATE_DIR", dir_.c_str(), 1);
        ::unsetenv("QVSTANDIN_TRACE");
        ASSERT_EQ(C_GetFunctionList(&f), CKR_OK);
        ASSERT_EQ(C_EX_GetFunctionListExtended(&x), CKR_OK);
    }

    void TearDown() override
    {
        f->C_Finalize(nullptr);
        std::filesystem::remove_all(dir_);
    }

    qvtoken::TokenStore store() const { return qvtoken::TokenStore(dir_); }
    void create(const qvtoken::TokenState& token) const { store().create(token); }
    void create(const std::string& preset) const { create(qvtoken::makePreset(preset)); }

    CK_RV initialize()
    {
        CK_C_INITIALIZE_ARGS args{};
        args.flags = CKF_OS_LOCKING_OK;
        return f->C_Initialize(&args);
    }

    CK_SESSION_HANDLE open(CK_SLOT_ID slot)
    {
        CK_SESSION_HANDLE handle = 0;
        EXPECT_EQ(f->C_OpenSession(slot, CKF_RW_SESSION | CKF_SERIAL_SESSION, nullptr, nullptr, &handle), CKR_OK);
        return handle;
    }

    CK_RV login(CK_SESSION_HANDLE handle, CK_USER_TYPE type, const std::string& pin)
    {
        return f->C_Login(handle, type, pinBytes(pin), pin.size());
    }

    CK_TOKEN_INFO_EXTENDED info(CK_SLOT_ID slot)
    {
        CK_TOKEN_INFO_EXTENDED ext;
        ext.size = QV_TOKEN_INFO_EXTENDED_SIZE;
        EXPECT_EQ(x->C_EX_GetTokenInfoExtended(slot, &ext), CKR_OK);
        return ext;
    }

    CK_FUNCTION_LIST_PTR f = nullptr;
    CK_FUNCTION_LIST_EXTENDED_PTR x = nullptr;
    std::filesystem::path dir_;
};

// Fixture A's PINs and slot.
inline const std::string adminPin = "59302814";
inline const std::string userPin = "40417263";
inline constexpr CK_SLOT_ID slotA = 1;
