#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>
#include <map>

namespace yentax {

// The accelerator letters ("&K") used more than once among the controls a user sees at
// once in window: Alt with such a letter reaches only one of them.
inline QStringList clashingMnemonics(QWidget* window) {
  std::map<QChar, QStringList> users;
  const auto note = [&users](const QString& text, const QString& who) {
    const auto match = QRegularExpression(QStringLiteral("&([^&])")).match(text);
    if (match.hasMatch()) users[match.captured(1).at(0).toUpper()] << who;
  };
  for (auto* button : window->findChildren<QAbstractButton*>()) {
    if (button->isVisibleTo(window)) note(button->text(), button->objectName());
  }
  for (auto* label : window->findChildren<QLabel*>()) {
    if (label->buddy() && label->isVisibleTo(window)) note(label->text(), label->objectName());
  }
  for (auto* bar : window->findChildren<QMenuBar*>()) {
    for (auto* action : bar->actions()) note(action->text(), action->objectName());
  }
  QStringList clashes;
  for (const auto& [letter, names] : users) {
    if (names.size() > 1) clashes << QString(letter) + ": " + names.join(QLatin1Char(' '));
  }
  return clashes;
}

// The labels shown in window with an accelerator letter but no control to give the focus
// to: Alt with their letter does nothing.
inline QStringList deadMnemonics(QWidget* window) {
  QStringList dead;
  const QRegularExpression mnemonic(QStringLiteral("&[^&]"));
  for (auto* label : window->findChildren<QLabel*>()) {
    if (!label->isVisibleTo(window) || !label->text().contains(mnemonic)) continue;
    if (!label->buddy() || !(label->buddy()->focusPolicy() & Qt::TabFocus)) {
      dead << label->objectName();
    }
  }
  return dead;
}

// The controls inside area that Tab reaches, in the order it reaches them.
inline QStringList tabOrder(QWidget* area) {
  QStringList names;
  for (QWidget* w = area->nextInFocusChain(); w != area; w = w->nextInFocusChain()) {
    // Parts of a control (a combo box's edit line) carry no name of their own.
    if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
    if (area->isAncestorOf(w) && w->isVisibleTo(area) && (w->focusPolicy() & Qt::TabFocus)) {
      names << w->objectName();
    }
  }
  return names;
}

// The controls shown in window that take the focus but give a screen reader no name.
inline QStringList unnamedControls(QWidget* window) {
  QStringList unnamed;
  for (auto* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(window) || !(widget->focusPolicy() & Qt::TabFocus)) continue;
    // A tab strip is read through its tabs, which carry the names.
    if (widget->inherits("QTabWidget") || widget->inherits("QTabBar")) continue;
    if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))) {
      continue;
    }
    auto* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
      unnamed << widget->objectName();
    }
  }
  return unnamed;
}

}  // namespace yentax
