// A memory host installed for the length of one test, with short ways to describe boxes and
// to expect a host error with its code.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/common/ct_errors.h"
#include "platform/host/ct_host.h"
#include "platform/host/memory/ct_memory_host.h"

class CT_MemoryHostFixture : public ::testing::Test {
  protected:
    void SetUp() override { CT_Host::sv_Install(&co_Host); }
    void TearDown() override { CT_Host::sv_Install(nullptr); }

    static CT_MemoryBox co_Box(const std::string& s_Key, const std::string& s_Content,
                               unsigned n_Page = 1) {
        CT_MemoryBox co_Box;
        co_Box.s_Key = s_Key;
        co_Box.s_Content = s_Content;
        co_Box.n_Page = n_Page;
        return co_Box;
    }

    // The code the call raised, e_NoError when it raised nothing.
    template <typename T_Call>
    static et_ErrorCode eo_ErrorOf(T_Call co_Call) {
        try {
            co_Call();
        } catch (et_ErrorCode eo_Code) {
            return eo_Code;
        }
        return e_NoError;
    }

    static std::string s_LastError() { return std::string(CT_Errors::cco_GetLastError().sv()); }

    CT_MemoryHost co_Host;
};
