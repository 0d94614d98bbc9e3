#pragma once
#include "labels/LabelStyle.h"

#include <QLabel>

// A label that draws itself from a LabelStyle and keeps its caption exactly as
// set (line breaks as CR LF), the way the format dialogs expect to find it.
class StyledLabel : public QLabel {
    Q_OBJECT
public:
    explicit StyledLabel(QWidget* parent = nullptr);

    const LabelStyle& style() const { return m_style; }
    void setStyle(const LabelStyle& style);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

    std::uint32_t ForeColor() const { return m_style.ForeColor; }
    void setForeColor(std::uint32_t color);
    QString FontName() const { return m_style.Name; }
    void setFontName(const QString& name);
    double FontSize() const { return m_style.Size(); }
    void setFontSize(double points);
    bool FontBold() const { return m_style.Bold; }
    void setFontBold(bool on);
    bool FontItalic() const { return m_style.Italic; }
    void setFontItalic(bool on);
    bool FontUnderline() const { return m_style.Underline; }
    void setFontUnderline(bool on);

signals:
    void styleChanged();

private:
    void apply();

    LabelStyle m_style;
    QString m_caption;
};
