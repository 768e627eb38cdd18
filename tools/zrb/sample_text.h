// Words, names and bodies for sample databases, in several languages and scripts.
#pragma once
#include <nlohmann/json.hpp>

#include <random>
#include <string>
#include <vector>

namespace zrb {

struct Person {
    std::string first, last, company, city, country;
    std::string fullName() const { return first + " " + last; }
    // The hierarchical name the client stores: "CN=Anna Berg/O=Velmora".
    std::string canonical() const { return "CN=" + fullName() + "/O=" + company; }
    std::string address() const;
};

class SampleText {
  public:
    explicit SampleText(unsigned seed) : random_(seed) {}

    Person person();
    std::string subject();
    // Rich text paragraphs: a greeting, `paragraphs` paragraphs in one language, a closing.
    nlohmann::json body(int paragraphs, const std::string& signature);
    std::string category();
    std::string location();
    int below(int limit) { return static_cast<int>(random_() % static_cast<unsigned>(limit)); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T> const T& pick(const std::vector<T>& from) {
        return from[below(static_cast<int>(from.size()))];
    }

  private:
    std::mt19937 random_;
};

} // namespace zrb
