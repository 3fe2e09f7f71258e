// The allocation-failure sweeps: a scenario of calls, from nothing held to nothing held, run
// again with its 1st, 2nd, ... allocation failing until it runs through. Each call must then
// succeed with the whole result or fail with E_OUTOFMEMORY and its out-values null, and the
// scenario must give back every block it took.
#include "validate/alloc_interposer.h"
#include "validate/check.h"
#include "validate/checks.h"
#include "validate/collection.h"

#include <time.h>

#include <algorithm>

namespace {

// How long a sweep makes every allocation fail in turn before it samples the rest, and how
// long the sample may take: with the validator's own board set every sweep ends well within
// the first; 5 000 boards keep the full level under a minute.
constexpr double k_wholeSweepSeconds = 4;
constexpr double k_sampledSweepSeconds = 4;

const char* const k_wholeRule =
    "under allocation failure this project hands out whole results or E_OUTOFMEMORY; the "
    "contract lets a string copy become null with S_OK and a failing setter be passed over";

double Seconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A call of a scenario that failed: the scenario ends there.
struct Stopped {
    std::string call;
    HRESULT result;
    bool outNull;
};

class Sweep {
public:
    explicit Sweep(CheckContext& cx) : m_cx(cx) {}

    // Runs f with the allocation gate open; a failure ends the scenario.
    template <class F>
    void Step(const std::string& call, F f, const void* const* out = nullptr) {
        m_cx.Calling(call);
        SetAllocationGate(true);
        const HRESULT result = f();
        SetAllocationGate(false);
        if (result < 0)
            throw Stopped{call, result, out == nullptr || *out == nullptr};
    }
    CheckContext& Cx() { return m_cx; }

private:
    CheckContext& m_cx;
};

using Scenario = std::string (*)(Sweep& sweep);

std::string Text(Sweep& s, QX_WCHAR*& text) {
    s.Cx().Calling("reading a string handed out");
    std::string quoted = Quoted(text);
    qxFreeWideString(text);
    text = nullptr;
    return quoted;
}

Ref<IkcSysExpert2> Expert(Sweep& s, bool initialize) {
    ModuleUnderTest& m = s.Cx().Module();
    const auto factory =
        reinterpret_cast<qxCreateExpertFunction>(qxModuleFunction(m.module, m.factoryName.c_str()));
    if (factory == nullptr)
        s.Cx().Skip("the module does not export " + m.factoryName);
    Ref<IkcSysExpert2> expert;
    void* raw = nullptr;
    s.Step(
        m.factoryName + "(&expert)", [&] { return factory(&raw); }, &raw);
    expert.attach(static_cast<IkcSysExpert2*>(raw));
    HRESULT initialized = S_OK;
    if (initialize)
        s.Step("IkcSysExpert2::Initialize()",
               [&] { return initialized = expert->lpVtbl->Initialize(expert.get()); });
    // The image driver's own allocations fail too: a driver that cannot answer makes
    // Initialize give S_FALSE, as its contract says, and the scenario ends there.
    if (initialized == S_FALSE && AllocationFailureReached())
        throw Stopped{"IkcSysExpert2::Initialize()", S_FALSE, true};
    return expert;
}

std::string IdentityScenario(Sweep& s) {
    Ref<IkcSysExpert2> e = Expert(s, false);
    std::string digest;
    for (int i = 0; i < 3; ++i) {
        QX_WCHAR* text = nullptr;
        const void* const* out = reinterpret_cast<const void* const*>(&text);
        const char* names[] = {"GetProductDisplayName", "GetProductVersion", "GetProgrammaticName"};
        s.Step(
            std::string("IkcSysExpert2::") + names[i] + "(&text)",
            [&] {
                return i == 0   ? e->lpVtbl->GetProductDisplayName(e.get(), &text)
                       : i == 1 ? e->lpVtbl->GetProductVersion(e.get(), &text)
                                : e->lpVtbl->GetProgrammaticName(e.get(), &text);
            },
            out);
        digest += Text(s, text) + " ";
    }
    return digest;
}

std::string NamesScenario(Sweep& s) {
    Ref<IkcSysExpert2> e = Expert(s, true);
    Ref<IkcSysEnumStringList> names;
    s.Step(
        "IkcSysExpert2::SearchForItemNames(&names)",
        [&] { return e->lpVtbl->SearchForItemNames(e.get(), names.put()); },
        reinterpret_cast<const void* const*>(&names));
    std::string digest;
    for (int round = 0; names && round < 2; ++round) {
        Ref<IkcSysEnumStringList> copy;
        s.Step(
            "IkcSysEnumStringList::Clone(&copy)",
            [&] { return names->lpVtbl->Clone(names.get(), copy.put()); },
            reinterpret_cast<const void* const*>(&copy));
        // The second round takes three names a call: a Next that hands out several strings
        // must give back those it made when a later one fails.
        const std::uint32_t wanted = round == 0 ? 1 : 3;
        for (;;) {
            QX_WCHAR* got[3] = {};
            std::uint32_t fetched = 0;
            HRESULT result = S_OK;
            s.Step(
                "IkcSysEnumStringList::Next(" + std::to_string(wanted) + ", names, &fetched)",
                [&] {
                    result = copy->lpVtbl->Next(copy.get(), wanted, got, &fetched);
                    return result;
                },
                reinterpret_cast<const void* const*>(&got[0]));
            for (std::uint32_t i = 0; i < fetched && i < wanted; ++i)
                digest += Text(s, got[i]) + " ";
            if (result != S_OK)
                break;
        }
    }
    return digest;
}

std::string BagsScenario(Sweep& s) {
    Ref<IkcSysExpert2> e = Expert(s, true);
    static const std::u16string name = [&] {
        const bool gate = SetAllocationGate(false);
        std::vector<std::u16string> names = s.Cx().ItemNames(e.get());
        SetAllocationGate(gate);
        return names.empty() ? std::u16string() : names[0];
    }();
    if (name.empty())
        s.Cx().Skip("the module lists no items");
    Ref<IkcSysPropertyBag3> bag;
    Ref<IkcSysPropertyBag3> copy;
    Ref<IkcSysEnumPropertyTag> tags;
    Ref<IkcSysEnumPropertyTag> changed;
    const auto* w = reinterpret_cast<const QX_WCHAR*>(name.c_str());
    s.Step(
        "IkcSysExpert2::GetPropertiesOfItem(name, &bag)",
        [&] { return e->lpVtbl->GetPropertiesOfItem(e.get(), w, bag.put()); },
        reinterpret_cast<const void* const*>(&bag));
    s.Step("IkcSysPropertyBag3::SetStringProperty(0x7E000001, text)", [&] {
        return bag->lpVtbl->SetStringProperty(bag.get(), 0x7E000001u,
                                              reinterpret_cast<const QX_WCHAR*>(u"a longer text"));
    });
    s.Step(
        "IkcSysPropertyBag3::Clone(&copy)",
        [&] {
            return bag->lpVtbl->Clone(bag.get(), reinterpret_cast<IkcSysPropertyBag**>(copy.put()));
        },
        reinterpret_cast<const void* const*>(&copy));
    s.Step(
        "IkcSysPropertyBag3::EnumProperties(&tags)",
        [&] { return copy->lpVtbl->EnumProperties(copy.get(), tags.put()); },
        reinterpret_cast<const void* const*>(&tags));
    s.Step(
        "IkcSysPropertyBag3::EnumChangedTags(&tags)",
        [&] { return bag->lpVtbl->EnumChangedTags(bag.get(), changed.put()); },
        reinterpret_cast<const void* const*>(&changed));
    // The tag enumerator cloned, and read five tags a call.
    Ref<IkcSysEnumPropertyTag> tagsCopy;
    s.Step(
        "IkcSysEnumPropertyTag::Clone(&copy)",
        [&] { return tags->lpVtbl->Clone(tags.get(), tagsCopy.put()); },
        reinterpret_cast<const void* const*>(&tagsCopy));
    std::string digest;
    for (;;) {
        std::uint32_t got[5] = {};
        std::uint32_t fetched = 0;
        HRESULT result = S_OK;
        s.Step("IkcSysEnumPropertyTag::Next(5, tags, &fetched)", [&] {
            result = tagsCopy->lpVtbl->Next(tagsCopy.get(), 5, got, &fetched);
            return result;
        });
        for (std::uint32_t i = 0; i < fetched && i < 5; ++i)
            digest += Hex(got[i]) + " ";
        if (result != S_OK)
            break;
    }
    for (const ItemTag& item : ItemTags()) {
        if (item.type != kcSysAttrTypeString)
            continue;
        QX_WCHAR* text = nullptr;
        s.Step(
            "IkcSysPropertyBag3::GetStringProperty(" + Hex(item.tag) + ", &text)",
            [&] { return copy->lpVtbl->GetStringProperty(copy.get(), item.tag, &text); },
            reinterpret_cast<const void* const*>(&text));
        digest += Text(s, text) + " ";
    }
    return digest + BagDump(s.Cx(), copy.get()) + " | " + BagDump(s.Cx(), bag.get());
}

std::string ReportScenario(Sweep& s) {
    Ref<IkcSysExpert2> e = Expert(s, true);
    Collection collection(s.Cx());
    collection.keep = true;
    collection.dump = false;
    s.Step("IkcSysExpert2::SearchForItemsAndProperties(&collection)",
           [&] { return e->lpVtbl->SearchForItemsAndProperties(e.get(), &collection.face); });
    std::string digest;
    for (Ref<IkcSysPropertyBag3>& bag : collection.kept)
        digest += BagDump(s.Cx(), bag.get()) + " | ";
    return digest;
}

// A digest's tokens: a quoted string, a bag entry "0x...=result value" or a word.
std::vector<std::string> Tokens(const std::string& digest) {
    std::vector<std::string> tokens;
    std::size_t at = 0;
    while (at < digest.size()) {
        if (digest[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = 0;
        if (digest[at] == '"')
            end = digest.find('"', at + 1) + 1;
        else if (digest.compare(at, 2, "0x") == 0 && digest.size() > at + 10 &&
                 digest[at + 10] == '=')
            end = digest.find("; ", at);
        else
            end = digest.find(' ', at);
        if (end == 0 || end == std::string::npos)
            end = digest.size();
        tokens.push_back(digest.substr(at, end - at));
        at = end + (end < digest.size() && digest[end] == ';' ? 1 : 0);
    }
    return tokens;
}

bool IsTag(const std::string& token) {
    return token.size() >= 10 && token.compare(0, 2, "0x") == 0 &&
           (token.size() == 10 || token[10] == '=');
}

// Whether got is the reference made partial as the contract allows under memory exhaustion:
// a string copied as null with S_OK, a tag a failing setter left out (and so not marked
// changed), and nothing else different.
bool Partial(const std::string& got, const std::string& reference) {
    const std::vector<std::string> g = Tokens(got);
    const std::vector<std::string> r = Tokens(reference);
    const std::string nullValue = ResultText(S_OK) + " null";
    const std::string okQuote = ResultText(S_OK) + " \"";
    std::size_t j = 0;
    for (const std::string& want : r) {
        if (j < g.size() && g[j] == want) {
            ++j;
        } else if (j < g.size() && want[0] == '"' && g[j] == "null") {
            ++j;
        } else if (j < g.size() && IsTag(want) && g[j] == want.substr(0, 11) + nullValue &&
                   want.compare(11, okQuote.size(), okQuote) == 0) {
            ++j;
        } else if (!IsTag(want)) {
            return false;
        }
    }
    return j == g.size();
}

void RunSweep(CheckContext& cx, Scenario scenario) {
    if (!AllocatorInterposed())
        cx.Skip("this build of the validator runs under a sanitizer, whose allocator it does not "
                "replace");
    Sweep sweep(cx);
    std::string reference;
    for (int warm = 0; warm < 2; ++warm)
        reference = scenario(sweep); // the module's first-use allocations settle here
    // The failure points: every one while the time allows, then, for a large board set, a
    // sample spread over the rest, so that the first boards are swept whole and the others
    // at even steps.
    const long before = GatedAllocations();
    const double started = Seconds();
    scenario(sweep);
    const long points = GatedAllocations() - before;
    const double runTime = Seconds() - started;
    long step = 1;
    long wholeUpTo = 0;
    const std::string rule = "when an allocation fails, each call succeeds with its whole result "
                             "or fails with E_OUTOFMEMORY and null out-values, and every block "
                             "taken is given back";
    bool warned = false;
    for (long n = 1;; n += step) {
        Failure problem;
        bool reached = false;
        const long before = LiveBlocks();
        {
            std::string digest;
            Stopped stopped{"", S_OK, true};
            FailNthAllocation(n);
            try {
                digest = scenario(sweep);
            } catch (const Stopped& failed) {
                stopped = failed;
            }
            reached = AllocationFailureReached();
            FailNthAllocation(0);
            const std::string at = " (allocation " + std::to_string(n) + " failing)";
            const bool mayFail = stopped.result == E_OUTOFMEMORY ||
                                 ((stopped.result == E_FAIL || stopped.result == S_FALSE) &&
                                  stopped.call.find("Initialize") != std::string::npos);
            if (!stopped.call.empty() && !reached)
                problem = {rule, stopped.call + " (no allocation failing)",
                           ResultText(stopped.result), "success"};
            else if (!stopped.call.empty() && !mayFail)
                problem = {rule, stopped.call + at, ResultText(stopped.result), "E_OUTOFMEMORY"};
            else if (!stopped.call.empty() && !stopped.outNull)
                problem = {rule, stopped.call + at,
                           ResultText(stopped.result) + ", out-value not null", "out-value null"};
            else if (stopped.call.empty() && digest != reference && Partial(digest, reference))
                problem = {k_wholeRule, "the scenario" + at, digest, reference, Grade::choice};
            else if (stopped.call.empty() && digest != reference)
                problem = {rule, "the scenario" + at, digest, reference};
        }
        const long kept = LiveBlocks() - before;
        if (problem.rule.empty() && kept != 0)
            problem = {rule,
                       "the scenario (allocation " + std::to_string(n) + " failing, ended in " +
                           cx.LastOperation() + ")",
                       std::to_string(kept) + " blocks not given back", "none"};
        if (problem.grade == Grade::choice && !warned) {
            // Once, and the sweep goes on: a lost block later is still a breach of the contract.
            warned = true;
            cx.ExpectChoice(false, problem.rule, problem.call, problem.got, problem.expected);
        } else if (!problem.rule.empty() && problem.grade == Grade::must) {
            cx.Expect(false, problem.rule, problem.call, problem.got, problem.expected);
            return;
        }
        if (!reached || n >= points)
            break;
        if (step == 1 && Seconds() - started > k_wholeSweepSeconds) {
            // What is left of the time gives this many more runs of the whole scenario.
            const double runs = k_sampledSweepSeconds / (runTime > 0 ? runTime : 1e-3);
            step = std::max(2L, static_cast<long>(static_cast<double>(points - n) / runs));
            wholeUpTo = n;
        }
    }
    if (step > 1)
        cx.Note("allocations 1 to " + std::to_string(wholeUpTo) + " of " + std::to_string(points) +
                " made to fail one by one, then every " + std::to_string(step) +
                "th: the boards beyond the first few are sampled");
}

} // namespace

void CheckAllocIdentity(CheckContext& cx) {
    RunSweep(cx, IdentityScenario);
}
void CheckAllocNames(CheckContext& cx) {
    RunSweep(cx, NamesScenario);
}
void CheckAllocBags(CheckContext& cx) {
    RunSweep(cx, BagsScenario);
}
void CheckAllocReport(CheckContext& cx) {
    RunSweep(cx, ReportScenario);
}
