#include "labels/StyledLabel.h"

StyledLabel::StyledLabel(QWidget* parent)
    : QLabel(parent)
{
    m_style.Name = font().family();
    m_style.setSize(font().pointSizeF() > 0 ? font().pointSizeF() : 9.0);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    apply();
}

void StyledLabel::setStyle(const LabelStyle& style)
{
    m_style = style;
    apply();
}

void StyledLabel::setCaption(const QString& caption)
{
    m_caption = caption;
    setText(QString(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void StyledLabel::setForeColor(std::uint32_t color)
{
    m_style.ForeColor = color;
    apply();
}

void StyledLabel::setFontName(const QString& name)
{
    m_style.Name = name;
    apply();
}

void StyledLabel::setFontSize(double points)
{
    m_style.setSize(points);
    apply();
}

void StyledLabel::setFontBold(bool on)
{
    m_style.Bold = on;
    apply();
}

void StyledLabel::setFontItalic(bool on)
{
    m_style.Italic = on;
    apply();
}

void StyledLabel::setFontUnderline(bool on)
{
    m_style.Underline = on;
    apply();
}

void StyledLabel::apply()
{
    setFont(DrawingFont(m_style));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, DrawingColor(m_style.ForeColor, QPalette()));
    setPalette(pal);
    emit styleChanged();
}
