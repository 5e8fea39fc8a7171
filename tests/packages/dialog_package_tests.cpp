// The dialog package: the check of edit fields and its messages, value lists, field texts, and
// real dialogs run through the package on the offscreen platform.
#include <QTest>

#include "codepage.h"
#include "dialog_check.h"
#include "dialog_package.h"
#include "dialog_text.h"
#include "layer_test_support.h"
#include "run_error.h"

using namespace dialog;
using namespace dialog_detail;
using layer_test::cp;

Q_DECLARE_METATYPE(dialog::FieldValue)
Q_DECLARE_METATYPE(dialog::Prompt)

namespace {

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// The message a field shows for `text`, or "" when the text passes.
std::string message_for(const FieldValue& value, const std::string& text, const Prompt& prompt = nopr{},
                        const std::string& name = "???") {
  const auto failure = check_field_text(value, text);
  return failure ? failure_text(*failure, prompt, name) : std::string();
}

}  // namespace

class DialogPackageTests : public QObject {
  Q_OBJECT

 public:
  static void initMain() { qputenv("QT_QPA_PLATFORM", "offscreen"); }

 private slots:
  void checkMessages_data() {
    QTest::addColumn<FieldValue>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const editint int_1_10{std::nullopt, {mandatory{}, range{1, 10}}};
    QTest::newRow("int, not a number") << FieldValue(int_1_10) << "abc" << "??? must be an integer";
    QTest::newRow("int, above range") << FieldValue(int_1_10) << "12" << "??? must be between 1 and 10. Current value 12";
    QTest::newRow("int, below range") << FieldValue(int_1_10) << "-3" << "??? must be between 1 and 10. Current value -3";
    QTest::newRow("int, in range") << FieldValue(int_1_10) << " 10 " << "";
    QTest::newRow("int, empty, mandatory") << FieldValue(int_1_10) << "" << "??? is mandatory";
    QTest::newRow("int, empty, optional") << FieldValue(editint{{}, {range{1, 10}}}) << "" << "";
    QTest::newRow("int, empty, mandatory with default")
        << FieldValue(editint{{}, {mandatory{}, default_value{7}}}) << "" << "";
    // Properties are tried in list order: the range sees the empty text first and lets it pass.
    QTest::newRow("int, range before mandatory") << FieldValue(editint{{}, {range{1, 10}, mandatory{}}}) << ""
                                                 << "??? is mandatory";
    QTest::newRow("int, no properties, junk") << FieldValue(editint{}) << "1x" << "??? must be an integer";
    QTest::newRow("int, out of 32 bits") << FieldValue(editint{}) << "2147483648" << "??? must be an integer";
    // A long that does not fit is a message, not a run-time error.
    QTest::newRow("long, out of 32 bits") << FieldValue(editlong{{}, {minimum{0}}}) << "99999999999"
                                          << "??? must be a long";
    QTest::newRow("long, minimum") << FieldValue(editlong{{}, {minimum{0}}}) << "-1"
                                   << "??? must be greater or equal than 0";
    QTest::newRow("real, maximum") << FieldValue(editreal{{}, {maximum{2.5}}}) << "3" << "??? must be less or equal than 2.5";
    QTest::newRow("real, range") << FieldValue(editreal{{}, {range{0.5, 1.25}}}) << "1.5"
                                 << "??? must be between 0.5 and 1.25. Current value 1.5";
    QTest::newRow("real, junk") << FieldValue(editreal{{}, {decimals{2}}}) << "1,5" << "??? must be an real";
    QTest::newRow("real, fill-only properties") << FieldValue(editreal{{}, {decimals{2}, upper{}}}) << "2.50" << "";
    QTest::newRow("str, too long") << FieldValue(editstr{"", {length{3}}}) << "abcd" << "??? contains more than 3 characters";
    QTest::newRow("str, at the length") << FieldValue(editstr{"", {length{3}}}) << "abc" << "";
    QTest::newRow("str, length before mandatory") << FieldValue(editstr{"", {length{3}, mandatory{}}}) << "abcd"
                                                  << "??? contains more than 3 characters";
    QTest::newRow("str, empty mandatory") << FieldValue(editstr{"", {length{3}, mandatory{}}}) << "" << "??? is mandatory";
    QTest::newRow("str, default lets empty pass") << FieldValue(editstr{"", {mandatory{}, default_value{"x"}}}) << ""
                                                  << "";
    QTest::newRow("checkbox is never checked") << FieldValue(checkbox{}) << "" << "";
  }
  void checkMessages() {
    QFETCH(FieldValue, value);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QCOMPARE(QString::fromStdString(message_for(value, text.toStdString())), message);
  }

  void promptsNameTheField() {
    const editint f{{}, {mandatory{}}};
    const std::string age = cp("Возраст");
    QCOMPARE(message_for(f, "", str_prompt{age}, age), age + " is mandatory");
    QCOMPARE(message_for(f, "x", own_prompt{cp("Введите число")}, "ignored"), cp("Введите число"));
    QCOMPARE(message_for(f, "", nopr{}), std::string("??? is mandatory"));
    // A name holding "%" is taken as it stands.
    QCOMPARE(message_for(f, "", str_prompt{"100%"}, "100%"), std::string("100% is mandatory"));
  }

  void valueListReaders() {
    const ValueList vl = {
        {5, editstr{"first", {}}},
        {6, checkbox{true}},
        {6, editstr{"second", {}}},
        {5, editstr{"shadowed", {}}},
        {7, listbutton{{"a", "b"}, 1}},
        {8, radiobuttongroup{{8, 9}, 9}},
        {10, editint{std::nullopt, {}}},
        {11, editreal{2.5, {}}},
    };
    QCOMPARE(dialog_VLGetstr(5, vl), std::string("first"));
    QCOMPARE(dialog_VLGetstr(6, vl), std::string("second"));  // the first entry of that kind
    QCOMPARE(dialog_VLGetCheck(6, vl), true);
    QCOMPARE(dialog_VLGetListButton(7, vl), (listbutton{{"a", "b"}, 1}));
    QCOMPARE(dialog_VLGetAllList(7, vl), (std::vector<std::string>{"a", "b"}));
    QCOMPARE(dialog_VLGetRadiobutton(8, vl), 9);
    QCOMPARE(dialog_VLGetint(10, vl), std::optional<std::int32_t>());
    QCOMPARE(dialog_VLGetreal(11, vl), std::optional<double>(2.5));
    // No entry with the id, or none of the asked kind: 9002.
    QCOMPARE(caught_code([&] { dialog_VLGetstr(99, vl); }), kDialogNoEntry);
    QCOMPARE(caught_code([&] { dialog_VLGetCheck(5, vl); }), kDialogNoEntry);
    QCOMPARE(caught_code([&] { dialog_VLGetlong(10, vl); }), kDialogNoEntry);
    QCOMPARE(caught_code([&] { dialog_VLGetAllList(5, vl); }), kDialogNoEntry);
    QCOMPARE(caught_code([] { dialog_VLGetstr(1, {}); }), kDialogNoEntry);
  }

  void editTexts() {
    QCOMPARE(edit_text(editreal{2.5, {decimals{2}}}), std::string("2.50"));
    QCOMPARE(edit_text(editreal{3.14159, {decimals{1}}}), std::string(" 3.1"));
    QCOMPARE(edit_text(editreal{-1234.5, {decimals{2}}}), std::string("-1234.50"));
    QCOMPARE(edit_text(editreal{0.1, {}}), std::string("0.1"));
    QCOMPARE(edit_text(editreal{1e20, {}}), std::string("1E+20"));
    QCOMPARE(edit_text(editreal{std::nullopt, {decimals{2}}}), std::string());
    QCOMPARE(edit_text(editint{-7, {}}), std::string("-7"));
    QCOMPARE(edit_text(editlong{std::nullopt, {}}), std::string());
  }

  void fieldTerms() {
    QCOMPARE(field_term({10006, editstr{"a\"b\\", {mandatory{}, length{5}, default_value{"x"}}}, nopr{}}),
             std::string("df(10006,editstr(\"a\\\"b\\\\\",[mandatory,length(5),default(\"x\")]),nopr)"));
    QCOMPARE(field_term({3, editint{4, {range{1, 10}, enable{false}}}, dlg_prompt{2}}),
             std::string("df(3,editint(i(4),[range(1,10),enable(0)]),dlg_prompt(2))"));
    QCOMPARE(value_term(radiobuttongroup{{1, 2}, 2}), std::string("radiobuttongroup([1,2],2)"));
    QCOMPARE(value_term(listbox{{"x"}, {}}), std::string("listbox([\"x\"],[])"));
    QCOMPARE(value_term(editreal{std::nullopt, {}}), std::string("editreal(void,[])"));
  }
};

QTEST_MAIN(DialogPackageTests)
#include "dialog_package_tests.moc"
