#include "forms/controls.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextDocument>
#include <climits>
#include <vector>

#include "forms/qt_glue.h"

using forms::glue::fromQ;
using forms::glue::fromQt;
using forms::glue::toQ;

namespace {

// The panel's surface: its caption fills it, and a press and release on it
// make a click.
class PanelWidget : public QFrame {
 public:
  PanelWidget(QWidget* parent, TPanel* panel) : QFrame(parent), panel_(panel) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    caption_ = new QLabel(this);
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption_->lower();
  }
  QLabel* caption() const { return caption_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    caption_->setGeometry(rect());
    QFrame::resizeEvent(event);
  }
  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = event->button() == Qt::LeftButton;
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    bool click = pressed_ && event->button() == Qt::LeftButton &&
                 rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && panel_->OnClick) fromQt([this] { panel_->OnClick(panel_); });
  }

 private:
  TPanel* panel_;
  QLabel* caption_;
  bool pressed_ = false;
};

// Qt's radio buttons group themselves by parent only when auto-exclusive,
// and then refuse to be cleared by the program; ours are grouped by
// TRadioButton itself, so a click only ever checks.
class RadioWidget : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override { setChecked(true); }
};

XString memoText(const QPlainTextEdit* edit) {
  // The raw text keeps no-break spaces, which toPlainText() turns into
  // blanks; Latin-1 holds no paragraph or line separator of its own.
  QString raw = edit->document()->toRawText();
  QString text;
  text.reserve(raw.size());
  for (QChar c : raw) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      text += QLatin1String("\r\n");
    } else {
      text += c;
    }
  }
  return fromQ(text);
}

std::vector<XString> splitLines(const XString& text) {
  std::vector<XString> lines;
  const char* s = text.c_str();
  unsigned int start = 0;
  for (unsigned int i = 0; i + 1 < text.length(); ++i) {
    if (s[i] == '\r' && s[i + 1] == '\n') {
      lines.emplace_back(s + start, i - start);
      start = i + 2;
      ++i;
    }
  }
  if (start < text.length()) lines.emplace_back(s + start, text.length() - start);
  return lines;
}

bool endsWithLineEnd(const XString& text) {
  return text.length() >= 2 && text[text.length() - 2] == '\r' && text.lastChar() == '\n';
}

class MemoLines : public TStrings {
 public:
  explicit MemoLines(TMemo* memo) : memo_(memo) {}
  int Count() const override { return static_cast<int>(splitLines(memo_->Text()).size()); }
  XString Strings(int index) const override {
    std::vector<XString> lines = splitLines(memo_->Text());
    return index >= 0 && index < static_cast<int>(lines.size()) ? lines[index] : XString();
  }
  // As the old library did: a memo that is empty or ends in a line end
  // gets the line and a line end; otherwise a line end and the line.
  int Add(const XString& text) override {
    XString all = memo_->Text();
    if (all.empty() || endsWithLineEnd(all)) {
      all += text;
      all += "\r\n";
    } else {
      all += "\r\n";
      all += text;
    }
    memo_->setText(all);
    return Count() - 1;
  }
  void Delete(int index) override {
    XString all = memo_->Text();
    std::vector<XString> lines = splitLines(all);
    if (index < 0 || index >= static_cast<int>(lines.size())) return;
    lines.erase(lines.begin() + index);
    XString joined;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i) joined += "\r\n";
      joined += lines[i];
    }
    if (!lines.empty() && endsWithLineEnd(all)) joined += "\r\n";
    memo_->setText(joined);
  }
  void Clear() override { memo_->setText(XString()); }

 private:
  TMemo* memo_;
};

}  // namespace

TPanel::TPanel(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new PanelWidget(clientOf(parent), this)) {}

XString TPanel::Caption() const {
  return fromQ(static_cast<PanelWidget*>(widget())->caption()->text());
}

void TPanel::setCaption(const XString& caption) {
  static_cast<PanelWidget*>(widget())->caption()->setText(toQ(caption));
}

TGroupBox::TGroupBox(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QGroupBox(clientOf(parent))) {}

XString TGroupBox::Caption() const { return fromQ(static_cast<QGroupBox*>(widget())->title()); }

void TGroupBox::setCaption(const XString& caption) {
  static_cast<QGroupBox*>(widget())->setTitle(toQ(caption));
}

TLabel::TLabel(TWinControl* parent, const XString& name)
    : TControl(parent, parent, name, new QLabel(clientOf(parent))) {
  static_cast<QLabel*>(widget())->setTextFormat(Qt::PlainText);
}

XString TLabel::Caption() const { return fromQ(static_cast<QLabel*>(widget())->text()); }

void TLabel::setCaption(const XString& caption) {
  static_cast<QLabel*>(widget())->setText(toQ(caption));
}

TButton::TButton(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QPushButton(clientOf(parent))) {
  auto* button = static_cast<QPushButton*>(widget());
  // Enter is routed by the form, not by Qt's dialog rules.
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this] {
    if (OnClick) fromQt([this] { OnClick(this); });
  });
}

XString TButton::Caption() const { return fromQ(static_cast<QPushButton*>(widget())->text()); }

void TButton::setCaption(const XString& caption) {
  static_cast<QPushButton*>(widget())->setText(toQ(caption));
}

void TButton::Click() {
  if (OnClick) OnClick(this);
}

TEdit::TEdit(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QLineEdit(clientOf(parent))) {
  // Qt cuts a set text at its limit (32767 by default); ours limits typing
  // only, which the key routing does.
  static_cast<QLineEdit*>(widget())->setMaxLength(INT_MAX);
}

XString TEdit::Text() const { return fromQ(static_cast<QLineEdit*>(widget())->text()); }

void TEdit::setText(const XString& text) { static_cast<QLineEdit*>(widget())->setText(toQ(text)); }

bool TEdit::ReadOnly() const { return static_cast<QLineEdit*>(widget())->isReadOnly(); }

void TEdit::setReadOnly(bool readOnly) { static_cast<QLineEdit*>(widget())->setReadOnly(readOnly); }

TMemo::TMemo(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QPlainTextEdit(clientOf(parent))),
      lines_(new MemoLines(this)) {}

TMemo::~TMemo() = default;

XString TMemo::Text() const { return memoText(static_cast<QPlainTextEdit*>(widget())); }

void TMemo::setText(const XString& text) {
  QString lines = toQ(text);
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  static_cast<QPlainTextEdit*>(widget())->setPlainText(lines);
}

bool TMemo::ReadOnly() const { return static_cast<QPlainTextEdit*>(widget())->isReadOnly(); }

void TMemo::setReadOnly(bool readOnly) {
  static_cast<QPlainTextEdit*>(widget())->setReadOnly(readOnly);
}

void TMemo::setAlignment(TAlignment alignment) {
  QTextDocument* document = static_cast<QPlainTextEdit*>(widget())->document();
  QTextOption option = document->defaultTextOption();
  option.setAlignment(alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft);
  document->setDefaultTextOption(option);
}

void TMemo::setBorderStyle(TBorderStyle style) {
  static_cast<QPlainTextEdit*>(widget())->setFrameShape(style == bsNone ? QFrame::NoFrame
                                                                        : QFrame::StyledPanel);
}

TCheckBox::TCheckBox(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QCheckBox(clientOf(parent))) {
  auto* box = static_cast<QCheckBox*>(widget());
  QObject::connect(box, &QCheckBox::toggled, box, [this] {
    if (OnClick) fromQt([this] { OnClick(this); });
  });
}

XString TCheckBox::Caption() const { return fromQ(static_cast<QCheckBox*>(widget())->text()); }

void TCheckBox::setCaption(const XString& caption) {
  static_cast<QCheckBox*>(widget())->setText(toQ(caption));
}

bool TCheckBox::Checked() const { return static_cast<QCheckBox*>(widget())->isChecked(); }

void TCheckBox::setChecked(bool checked) {
  if (checked == Checked()) return;
  {
    QSignalBlocker quiet(widget());
    static_cast<QCheckBox*>(widget())->setChecked(checked);
  }
  if (OnClick) OnClick(this);
}

TRadioButton::TRadioButton(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new RadioWidget(clientOf(parent))) {
  auto* button = static_cast<RadioWidget*>(widget());
  button->setAutoExclusive(false);
  QObject::connect(button, &QRadioButton::toggled, button, [this](bool on) {
    if (!on) return;
    clearSiblings();
    if (OnClick) fromQt([this] { OnClick(this); });
  });
}

XString TRadioButton::Caption() const {
  return fromQ(static_cast<QRadioButton*>(widget())->text());
}

void TRadioButton::setCaption(const XString& caption) {
  static_cast<QRadioButton*>(widget())->setText(toQ(caption));
}

bool TRadioButton::Checked() const { return static_cast<QRadioButton*>(widget())->isChecked(); }

void TRadioButton::setChecked(bool checked) {
  if (checked == Checked()) return;
  {
    QSignalBlocker quiet(widget());
    static_cast<QRadioButton*>(widget())->setChecked(checked);
  }
  if (!checked) return;
  clearSiblings();
  if (OnClick) OnClick(this);
}

void TRadioButton::clearSiblings() {
  for (QObject* child : Parent()->widget()->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    auto* other = w ? dynamic_cast<TRadioButton*>(forms::glue::controlOf(w)) : nullptr;
    if (!other || other == this || other->Parent() != Parent()) continue;
    QSignalBlocker quiet(other->widget());
    static_cast<QRadioButton*>(other->widget())->setChecked(false);
  }
}

TTrackBar::TTrackBar(TWinControl* parent, const XString& name)
    : TWinControl(parent, parent, name, new QSlider(Qt::Horizontal, clientOf(parent))) {
  auto* slider = static_cast<QSlider*>(widget());
  QObject::connect(slider, &QSlider::valueChanged, slider, [this] {
    if (OnChange) fromQt([this] { OnChange(this); });
  });
}

void TTrackBar::setMin(int min) {
  int old = Position();
  {
    QSignalBlocker quiet(widget());
    static_cast<QSlider*>(widget())->setMinimum(min);
  }
  if (Position() != old && OnChange) OnChange(this);
}

void TTrackBar::setMax(int max) {
  int old = Position();
  {
    QSignalBlocker quiet(widget());
    static_cast<QSlider*>(widget())->setMaximum(max);
  }
  if (Position() != old && OnChange) OnChange(this);
}

int TTrackBar::Position() const { return static_cast<QSlider*>(widget())->value(); }

void TTrackBar::setPosition(int position) {
  int old = Position();
  {
    QSignalBlocker quiet(widget());
    static_cast<QSlider*>(widget())->setValue(position);
  }
  if (Position() != old && OnChange) OnChange(this);
}
