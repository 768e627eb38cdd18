#include "com_result.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> reported;

void Remember(const char* what) noexcept {
    reported.emplace_back(what);
}

struct BoundaryCase {
    const char* what;
    void (*body)();
    HRESULT expected;
    std::vector<std::string> report;
};

TEST(Guarded, EveryRoadOutBecomesAnHresultAndOnlyTheUnexpectedAreReported) {
    const BoundaryCase cases[] = {
        {"success", [] {}, S_OK, {}},
        {"the code's own error",
         [] { throw com_server::HResultError{E_ACCESSDENIED}; },
         E_ACCESSDENIED,
         {}},
        {"memory ran out", [] { throw std::bad_alloc(); }, E_OUTOFMEMORY, {"out of memory"}},
        {"a library's error",
         [] { throw std::runtime_error("disk on fire"); },
         E_UNEXPECTED,
         {"disk on fire"}},
        {"anything else", [] { throw 42; }, E_UNEXPECTED, {"unexpected error"}},
    };
    com_server::UnexpectedFailureReport() = Remember;
    for (const auto& c : cases) {
        reported.clear();
        EXPECT_EQ(com_server::Guarded([&] {
                      c.body();
                      return S_OK;
                  }),
                  c.expected)
            << c.what;
        EXPECT_EQ(reported, c.report) << c.what;
    }
    com_server::UnexpectedFailureReport() = nullptr;
    EXPECT_EQ(com_server::Guarded([]() -> HRESULT { throw 42; }), E_UNEXPECTED)
        << "without a reporter too";
}

} // namespace
