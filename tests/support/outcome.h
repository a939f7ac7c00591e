// The answer of a check that can say why it failed, for helpers shared by the
// tests and the programs that run outside a test framework.
#pragma once

#include <sstream>
#include <string>
#include <type_traits>
#include <utility>

namespace zol::test {

class Outcome {
public:
    static Outcome success() { return Outcome(true, {}); }
    static Outcome failure(std::string why) { return Outcome(false, std::move(why)); }

    explicit operator bool() const { return ok_; }
    const std::string& why() const { return why_; }

    // Turns into a test framework's own result type (one made from a bool
    // that takes more text with <<), so that a failed check shows its reason
    // in the test's report exactly as the framework's own assertions do.
    template <typename Result, typename = std::enable_if_t<std::is_constructible_v<Result, bool>>,
              typename = decltype(std::declval<Result&>() << std::declval<const std::string&>())>
    operator Result() const {
        Result result(ok_);
        if (!ok_) result << why_;
        return result;
    }

private:
    Outcome(bool ok, std::string why) : ok_(ok), why_(std::move(why)) {}

    bool ok_;
    std::string why_;
};

}  // namespace zol::test
