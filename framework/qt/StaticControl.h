// SPDX-License-Identifier: Apache-2.0
// Static texts, icons and group boxes: painted here rather than with the
// toolkit's labels, so that '&' marks a mnemonic exactly as on the platform
// (the dialog handles the mnemonic keys itself) and the alignment and
// wrapping follow the SS_ styles.
#ifndef KELM_FRAMEWORK_UI_STATICCONTROL_H
#define KELM_FRAMEWORK_UI_STATICCONTROL_H

#include <QIcon>
#include <QString>
#include <QWidget>

class StaticControl : public QWidget
{
public:
    enum class Mode
    {
        Text,
        Icon,
        GroupBox
    };

    StaticControl(Mode mode, unsigned style, QWidget* parent);

    void setText(const QString& text);
    QString text() const { return m_text; }
    Mode mode() const { return m_mode; }
    void setIcon(const QIcon& icon);
    // Flags the text is drawn with (alignment, wrapping, mnemonic).
    int textFlags() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Mode m_mode;
    unsigned m_style;
    QString m_text;
    QIcon m_icon;
};

#endif
