// Our declarations of the host's interface (aesdk/) against the types the host's own headers give each name
// we share with them, every typedef resolved (tests/data/host_abi_types.txt): a member, handle or suite slot
// of another type builds against ours but not against the host's. The checks are generated from the facts at
// build time (cmake/HostAbiTypeChecks.cmake); our side is spelled by the compiler, as the facts are.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "ae_smartfx.h"
#include "ae_suites.h"

namespace {

template <class T> constexpr const char* prettyName() { return __PRETTY_FUNCTION__; }

// The compiler's spelling of T with every typedef resolved, e.g. "int (*)(PF_ProgressInfo*, int, void*)".
template <class T> std::string typeText() {
    const std::string_view pretty = prettyName<T>();  // "... prettyName() [with T = <type>]"
    const std::string_view marker = "[with T = ";
    const size_t start = pretty.find(marker) + marker.size();
    return std::string(pretty.substr(start, pretty.size() - 1 - start));
}

// A name that only the generated probe declares (see below) is one our declarations lack.
template <class T> std::string ourTypeText() {
    const std::string text = typeText<T>();
    return text.starts_with("absent_probe::") ? std::string() : text;
}

}  // namespace

struct type_fact {
    int line;
    std::string name;
    const char* host;  // the host's type; null where the host's headers lack the name
    std::string ours;  // the type our declarations give it; empty where they lack it
    bool checkable = true;
};

// The declared type of T's member at `path`, or nothing where T has no such member.
#define OUR_MEMBER_TYPE(T, path)                                                                               \
    [](auto* record) -> std::string {                                                                          \
        if constexpr (requires { record->path; })                                                              \
            return typeText<decltype(record->path)>();                                                         \
        else                                                                                                   \
            return {};                                                                                         \
    }(static_cast<::T*>(nullptr))
#define HOST_TYPE(line, T, host) type_fact{line, #T, host, ourTypeText<::T>()}
#define HOST_MEMBER(line, T, path, host) type_fact{line, #T "." #path, host, OUR_MEMBER_TYPE(T, path)}
#define ABSENT_TYPE(line, T) type_fact{line, #T, nullptr, ourTypeText<::T>()}
#define ABSENT_MEMBER(line, T, path) type_fact{line, #T "." #path, nullptr, OUR_MEMBER_TYPE(T, path)}
#define UNCHECKABLE(line, text) type_fact{line, text, nullptr, {}, false}

// The generated table declares every name a fact names once more, empty, in a namespace of its own that the
// global namespace uses: the qualified ::NAME above finds ours first, and the probe only where we lack it.
#include "host_abi_type_checks.inc"

namespace {

TEST(HostAbiTypes, EveryNameWeShareWithTheHostHasTheHostsType) {
    const std::vector<type_fact>& facts = typeFacts();
    ASSERT_FALSE(facts.empty());
    for (const type_fact& fact : facts) {
        if (!fact.checkable) {
            ADD_FAILURE() << "line " << fact.line << ": cannot check \"" << fact.name << "\"";
        } else if (fact.host && fact.ours.empty()) {
            ADD_FAILURE() << "line " << fact.line << ": our declarations lack " << fact.name;
        } else if (fact.host) {
            EXPECT_EQ(fact.ours, fact.host) << "line " << fact.line << ": " << fact.name;
        }
    }
}

TEST(HostAbiTypes, WeDeclareNoNameTheHostsHeadersLack) {
    for (const type_fact& fact : typeFacts()) {
        if (fact.checkable && !fact.host) {
            EXPECT_EQ(fact.ours, "") << "line " << fact.line << ": we declare " << fact.name
                                     << ", which the host's headers lack";
        }
    }
}

}  // namespace
