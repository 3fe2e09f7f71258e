// What a check is and what it works with: the table of checks (check_table.cpp) lists each
// one's name, group, level and the contract it proves; a check calls the module through the C
// view, names each operation before calling it (so that a crash or a hang can name it) and
// records every breach of a contract with the rule, the call, what came back and what the
// rule expects.
#ifndef QX_VALIDATE_CHECK_H
#define QX_VALIDATE_CHECK_H

#include "cli/bag_reader.h"
#include "qxzeva/module_loader.h"
#include "qxzeva/qxzeva_c.h"
#include "qxzeva/ref.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The validator speaks the C view, as a C host does, named without its namespace
// (cli/c_view.h); it never meets the C++ view of the same names.

template <class T>
using Ref = qxzeva::BasicRef<T, qxzeva::TableCounting>;

enum class CheckLevel { quick, full };

// How a broken rule counts. must: the interfaces' contract requires it, and a breach fails
// the check. choice: the contract leaves it open or writes it otherwise, and this project
// chose a stricter, sound behaviour; a breach warns, and fails only under --strict.
enum class Grade { must, choice };

const char* GradeName(Grade grade); // "must", "choice"

class CheckContext;

struct CheckRow {
    const char* name;     // group.what, as --list and --filter know it
    CheckLevel level;     // full: only with --level full
    int timeFactor;       // its time limit in multiples of --timeout's
    Grade grade;          // how a breach of its rule counts
    const char* source;   // where its rule is written: a manual page, or the project's choice
    const char* contract; // one sentence: the rule a module must keep for it to pass
    void (*run)(CheckContext& context);
};

// The source of every choice: a rule this project holds where the contract is looser.
inline constexpr const char* k_soundChoice = "this project's sound choice";

const std::vector<CheckRow>& CheckTable();

// One breach of a contract.
struct Failure {
    std::string rule;     // the contract in a sentence
    std::string call;     // what was called
    std::string got;      // what came back
    std::string expected; // what the rule expects
    Grade grade = Grade::must;
};

// Thrown by Require and Skip to end a check that cannot go on.
struct CheckStop {};

// What the module under test is and how it is to be called.
struct ModuleUnderTest {
    qx_module* module = nullptr;
    std::string path;
    std::string factoryName;
    std::string versionName;
};

// The bytes of the operation-name page shared with the parent.
inline constexpr std::size_t k_lastOperationSize = 256;

class CheckContext {
public:
    CheckContext(ModuleUnderTest& module, char* lastOperation, std::uint32_t seed,
                 bool strict = false);

    ModuleUnderTest& Module() { return m_module; }
    std::uint32_t Seed() const { return m_seed; }
    // Whether --strict asks for the choices to be held as rules, and for the calls the
    // contract leaves undefined (a null out-pointer the operation does not test) to be made.
    bool Strict() const { return m_strict; }
    // Ends the check as a skip unless --strict: it calls operations in a way the contract
    // leaves undefined, which may crash a module that keeps to the contract.
    void OnlyWhenStrict(const std::string& undefinedCall);
    // The grade of the failures Expect records from now on; the check's row gives the first.
    void Grading(Grade grade) { m_grade = grade; }
    // Names the operation about to be called, for a crash or a hang to be reported against.
    void Calling(const std::string& operation);
    const char* LastOperation() const { return m_lastOperation; }

    // Records a failure unless ok; returns ok.
    bool Expect(bool ok, const std::string& rule, const std::string& call, const std::string& got,
                const std::string& expected);
    // As Expect, for a rule this project chose beyond the contract: a breach only warns.
    bool ExpectChoice(bool ok, const std::string& rule, const std::string& call,
                      const std::string& got, const std::string& expected);
    // As Expect, but a failure ends the check.
    void Require(bool ok, const std::string& rule, const std::string& call, const std::string& got,
                 const std::string& expected);
    // Names the operation, calls it, and expects its result to be wanted: the one way a check
    // calls an operation whose result it holds to a rule, so that a crash or a hang inside is
    // blamed on it and never on the call before.
    template <class F>
    bool ExpectCall(const std::string& call, F operation, HRESULT wanted, const std::string& rule) {
        Calling(call);
        return ExpectResult(operation(), wanted, rule, call);
    }
    // Expects result to be wanted.
    bool ExpectResult(HRESULT result, HRESULT wanted, const std::string& rule,
                      const std::string& call);
    // Ends the check as not applicable to this module.
    [[noreturn]] void Skip(const std::string& why);

    // Says how the check ran where that is not the whole of what its rule names (a sweep
    // that sampled its failure points); the report shows it.
    void Note(const std::string& text) { m_note = text; }
    const std::string& NoteText() const { return m_note; }

    const std::vector<Failure>& Failures() const { return m_failures; }
    const std::string& SkipReason() const { return m_skipReason; }

    // A new expert from the module's factory; ends the check when there is none.
    Ref<IkcSysExpert2> NewExpert();
    // A new expert after Initialize (S_OK or S_FALSE).
    Ref<IkcSysExpert2> InitializedExpert();
    // The names SearchForItemNames lists, read through one enumerator.
    std::vector<std::u16string> ItemNames(IkcSysExpert2* expert);
    // The bag of the first listed item; skips the check when the module lists none.
    Ref<IkcSysPropertyBag3> FirstItemBag(IkcSysExpert2* expert);

private:
    ModuleUnderTest& m_module;
    char* m_lastOperation;
    std::uint32_t m_seed;
    bool m_strict;
    Grade m_grade = Grade::must;
    std::vector<Failure> m_failures;
    std::string m_skipReason;
    std::string m_note;
};

// The tags every item's bag holds, with their types: the installed interface's table.
struct ItemTag {
    std::uint32_t tag;
    kcSysAttributeType type;
};
const std::vector<ItemTag>& ItemTags();

// The bag's tags, types and values as one text ("tag=result value; ", in the order the
// programs' bag reader gives them), and the tags EnumChangedTags lists after them; for
// comparing two bags. Read with the programs' reader, each call named before it is made.
std::string BagDump(CheckContext& cx, IkcSysPropertyBag3* bag);
// The bag read with the programs' reader, naming each call before it is made, timestamps as
// stored; the first failing HRESULT, or S_OK.
HRESULT ReadProperties(CheckContext& cx, IkcSysPropertyBag3* bag,
                       std::vector<PropertyReading>* properties);
// A reading as the validator compares it, exactly: "S_OK (0x00000000) 1", the result, then
// the number a boolean's getter wrote, an integer, an unsigned one in hexadecimal, a double's
// 17 digits, a string quoted and escaped or null, a GUID in braces, a timestamp's four words.
std::string ExactText(const PropertyReading& reading);
// The tags an enumerator lists from its position on.
std::vector<std::uint32_t> TagsOf(CheckContext& cx, IkcSysEnumPropertyTag* tags);

// Texts for failures.
std::string ResultText(HRESULT result);         // "E_POINTER (0x80004003)"
std::string Quoted(const QX_WCHAR* text);       // "img0", escaped; null
std::string Quoted(const std::u16string& text); // "img0", escaped
std::string Hex(std::uint32_t value);           // 0x0101D000
std::u16string Utf16(const std::string& utf8);  // UTF-8 as UTF-16 units
std::u16string Wide(const char* text);          // ASCII widened
std::u16string Owned(QX_WCHAR* text);           // copies and frees a string
const char* InterfaceName(const _GUID& iid);    // "IkcSysExpert2", or "an unknown identifier"

#endif
