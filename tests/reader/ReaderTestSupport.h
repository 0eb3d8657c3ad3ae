// Small helpers shared by the reader tests: hex byte strings and a reader wired to the PC/SC fake.
#pragma once

#include "reader/QXCCIDINT.h"
#include "tests/reader/PcscFake.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// "61 10" -> the two bytes 0x61 0x10 (spaces ignored).
inline std::string Hex(const char *text) {
    std::string out;
    unsigned value = 0;
    int digits = 0;
    for (const char *p = text; *p; ++p) {
        const char c = *p;
        if (c == ' ')
            continue;
        const int v = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c - 'a' + 10;
        value = value << 4 | unsigned(v);
        if (++digits == 2) {
            out.push_back(char(value));
            value = 0;
            digits = 0;
        }
    }
    return out;
}

// A mutex name that no other test (or test process) shares.
inline std::string UniqueMutexName(const char *what) {
    char name[128];
    std::snprintf(name, sizeof(name), "QxReaderTest.%s.%lu", what, ::GetCurrentProcessId());
    return name;
}

// A reader connected to nothing but the fake, its mutex probed on every PC/SC call.
class ReaderFixture : public ::testing::Test {
public:
    static constexpr SCARDCONTEXT kContext = 0x0C0C;
    static constexpr SCARDHANDLE kCard = 0xCA4D;

protected:
    void SetUp() override {
        const std::string mutex = UniqueMutexName(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(m_reader.Init(kContext, "Reader A 0", mutex.c_str()));
        m_fake.ProbeMutex(mutex);
    }

    void TearDown() override {
        // Every PC/SC call of a locked operation runs while the mutex is held.
        for (const auto &call : m_fake.Calls())
            EXPECT_TRUE(call.lockHeld) << PcscCallName(call.call) << " ran without the lock";
        EXPECT_EQ(m_fake.UnusedReplies(), 0u) << "scripted replies were never asked for";
        EXPECT_EQ(m_fake.OutstandingLists(), 0u) << "a reader list was not returned to the service";
        m_reader.m_hCard = 0; // destruction would disconnect; that has its own test
    }

    // Connected as if Connect had succeeded earlier.
    void Connected(SCARDHANDLE hCard = kCard) { m_reader.m_hCard = hCard; }

    CPcscFake m_fake;
    QXCCIDINT m_reader;
};
