// An expert made as the factory makes it, over a simulated driver that starts each test
// without boards.
#ifndef QX_TESTS_EXPERT_FIXTURE_H
#define QX_TESTS_EXPERT_FIXTURE_H

#include "expert/kcsyszeva.h"
#include "simulated_driver.h"

#include <gtest/gtest.h>

#include <string>

class ExpertOnSimulatedDriver : public SimulatedDriverTest {
protected:
    void SetUp() override {
        SimulatedDriverTest::SetUp();
        m_expert = MakeComObject<CkcSysZeva>().detach();
    }
    void TearDown() override {
        EXPECT_EQ(m_expert->Release(), 0) << "the test left references on the expert";
        SimulatedDriverTest::TearDown();
    }
    void Discover() { ASSERT_EQ(m_expert->Initialize(), S_OK); }

    CQXComObject<CkcSysZeva>* m_expert = nullptr;
};

// Wide text of 7-bit characters as 8-bit text, for comparisons; null reads as empty.
inline std::string NarrowAscii(const char16_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out += static_cast<char>(*text);
    return out;
}

#endif
