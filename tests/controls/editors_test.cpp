// The editors: insert/overwrite mode shared by all, character filters, number reading and
// range checks, Escape and Enter, line breaks of the multi-line editor, the value panel.
#include "calc/decimal_separator.h"
#include "controls/combo.h"
#include "controls/editor_mode.h"
#include "controls/multi_edit.h"
#include "controls/standard_edit.h"
#include "controls/sum_panel.h"
#include "controls_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace kovra::controls {
namespace {

// A shown, active form holding the given editors in tab order.
struct form {
  QWidget w;
  explicit form(std::initializer_list<QWidget*> editors) {
    auto* l = new QVBoxLayout(&w);
    for (QWidget* e : editors) l->addWidget(e);
    w.show();
    QApplication::setActiveWindow(&w);
    QTest::qWaitForWindowActive(&w);
  }
  void focus(QWidget* e) {
    e->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
};

struct Editors : ::testing::Test {
  void SetUp() override {
    VL_editor_mode::instance().reset();
    calc::set_system_decimal_separator(',');
  }
  void TearDown() override {
    VL_editor_mode::instance().reset();
    calc::reset_system_decimal_separator();
    set_control_message_handler(nullptr);
  }
};

TEST_F(Editors, OverwriteModeIsSharedAndReplacesTheCharacterUnderTheCaret) {
  VL_line_edit a, b;
  VL_multi_edit m;
  std::vector<bool> requests;
  VL_editor_mode::instance().set_switch_handler([&](bool insert) {
    requests.push_back(insert);
    VL_editor_mode::instance().set_insert_mode(insert);
    return true;
  });
  QTest::keyClick(&a, Qt::Key_Insert);
  EXPECT_EQ(requests, std::vector<bool>{false});  // the opposite of the editor's mode
  EXPECT_FALSE(b.insert_mode());
  EXPECT_FALSE(m.insert_mode());
  VL_line_edit later;  // a new editor takes the current mode
  EXPECT_FALSE(later.insert_mode());
  QTest::keyClick(&a, Qt::Key_Insert, Qt::ShiftModifier);  // not a switch
  EXPECT_EQ(requests.size(), 1u);

  b.setText("123");
  b.setCursorPosition(0);
  QTest::keyClick(&b, '7');
  EXPECT_EQ(b.text(), "723");
  b.setCursorPosition(3);
  QTest::keyClick(&b, '9');  // at the end it appends
  EXPECT_EQ(b.text(), "7239");
  // A line break under the caret is never replaced.
  m.set_text("ab\ncd");
  QTextCursor c = m.textCursor();
  c.setPosition(2);
  m.setTextCursor(c);
  QTest::keyClick(&m, 'X');
  EXPECT_EQ(m.text(), "abX\ncd");

  // A main window that refuses leaves the mode (and the key goes on).
  VL_editor_mode::instance().set_switch_handler([](bool) { return false; });
  QTest::keyClick(&a, Qt::Key_Insert);
  EXPECT_FALSE(a.insert_mode());
}

TEST_F(Editors, NumberEditorFiltersAndReadsNumbers) {
  VL_number_edit n;
  n.set_char_range("0123456789-,.");
  QTest::keyClicks(&n, "1.5,2x");  // "." enters ","; the second "," and "x" are dropped
  EXPECT_EQ(n.text(), "1,52");
  EXPECT_DOUBLE_EQ(n.value(), 1.52);

  VL_number_edit d;  // the default range holds no separator: the text is cut at it
  d.setText("12 345,67");
  EXPECT_DOUBLE_EQ(d.value(), 12345);
  EXPECT_EQ(d.text(), "12345");
  d.Min = -5;
  d.Max = 5;
  d.setText("abc");
  EXPECT_DOUBLE_EQ(d.value(), -5);
  d.set_char_range("");
  d.setText("abc");
  EXPECT_DOUBLE_EQ(d.value(), -5);
  d.setText("");
  EXPECT_DOUBLE_EQ(d.value(), 0);

  EXPECT_EQ(VL_number_edit::display_text(1234567.5), "1 234 567,50");
  EXPECT_EQ(VL_number_edit::display_text(0.1234567), "0,123457");
  EXPECT_EQ(VL_number_edit::display_text(-2), "-2,00");
  EXPECT_EQ(VL_number_edit::display_text(1000.125), "1 000,125");
  d.OnFormat = [](VL_number_edit*, double v, QString& t) {
    if (v == 0) t = "-";
  };
  d.set_value(0);
  EXPECT_EQ(d.text(), "-");
}

TEST_F(Editors, RangeCheckOfTheNumberEditor) {
  QString caption, text;
  set_control_message_handler([&](QWidget*, const QString& c, const QString& t) {
    caption = c;
    text = t;
  });
  VL_number_edit n;
  n.set_char_range("0123456789-,");
  n.Max = 999.99;
  n.setText("999,99");
  EXPECT_TRUE(n.range_check());
  EXPECT_TRUE(text.isEmpty());
  n.setText("999,9900000000001");  // within the tolerance: becomes the maximum
  EXPECT_TRUE(n.range_check());
  EXPECT_EQ(n.text(), "999,99");
  n.setText("1000");
  EXPECT_FALSE(n.range_check());
  EXPECT_EQ(caption, "Błąd !");
  EXPECT_EQ(text, "Zbyt duża wartość.\n\nMaksymalna wartość to 999,99");
  n.Min = 10;
  n.setText("5");
  EXPECT_FALSE(n.range_check());
  EXPECT_EQ(text, "Zbyt mała wartość.\n\nMinimalna wartość to 10");
  n.OnPerformCheck = [](VL_number_edit*, bool& check_it, bool& result) {
    check_it = false;
    result = true;
  };
  EXPECT_TRUE(n.range_check());

  // Leaving with a value out of range: the message, the entered text back, the focus kept.
  VL_number_edit* e = new VL_number_edit;
  VL_line_edit* other = new VL_line_edit;
  e->Max = 100;
  e->set_value(50);
  form f{e, other};
  f.focus(e);
  EXPECT_EQ(e->text(), "50");  // "50,00" in a field without decimals
  e->setText("500");
  text.clear();
  f.focus(other);
  QApplication::processEvents();
  EXPECT_TRUE(text.startsWith("Zbyt duża wartość."));
  EXPECT_TRUE(e->hasFocus());
  EXPECT_EQ(e->text(), "50");
  auto* grouped = new VL_number_edit;  // with decimals: only the grouping goes
  grouped->set_char_range("0123456789-,");
  grouped->set_value(1234567.5);
  f.w.layout()->addWidget(grouped);
  grouped->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(grouped->text(), "1234567,50");
}

TEST_F(Editors, EscapeEnterAndLineBreaks) {
  auto* a = new VL_line_edit;
  auto* m = new VL_multi_edit;
  auto* b = new VL_line_edit;
  a->setText("abc");
  form f{a, m, b};
  f.focus(a);
  a->setCursorPosition(3);
  QTest::keyClicks(a, "xyz");
  QTest::keyClick(a, Qt::Key_Escape);
  EXPECT_EQ(a->text(), "abc");
  EXPECT_EQ(a->selectedText(), "abc");
  bool can_exit = false;  // OnExit keeps the focus
  a->OnExit = [&](QWidget*, bool& ok) { ok = can_exit; };
  QTest::keyClick(a, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_TRUE(a->hasFocus());
  can_exit = true;
  QTest::keyClick(a, Qt::Key_Return);  // on to the next control
  QApplication::processEvents();
  EXPECT_TRUE(m->hasFocus());

  m->WantReturns = false;
  QTest::keyClicks(m, "q");
  QTest::keyClick(m, Qt::Key_Return);  // no line feed; the focus moves on
  QApplication::processEvents();
  EXPECT_EQ(m->text(), "q");
  EXPECT_TRUE(b->hasFocus());

  VL_multi_edit flush;
  flush.set_text("a\n\nb\n");
  EXPECT_EQ(flush.text(), "a\n\nb\n");
  flush.set_flush_returns(true);
  EXPECT_EQ(flush.toPlainText(), "a b");
  flush.set_text("x\r\ny  \n");
  EXPECT_EQ(flush.text(), "x y");
}

TEST_F(Editors, ComboOpensItsListAndPanelFitsItsCaption) {
  auto* c = new VL_combo;
  c->addItems({"jeden", "dwa"});
  form f{c};
  f.focus(c);
  QTest::keyClick(c, Qt::Key_Down);
  EXPECT_TRUE(c->view()->isVisible());
  c->hidePopup();

  VL_sum_panel p;
  p.set_caption("Wartość: 1 234,56");
  const int expected = QFontMetrics(p.font()).horizontalAdvance("Wartość: 1 234,56  ") + 2 * p.frameWidth();
  EXPECT_EQ(p.width(), expected);
  p.set_min_width(expected + 40);
  EXPECT_EQ(p.width(), expected + 40);
}

} // namespace
} // namespace kovra::controls
