#include "platform/DialogTemplate.h"

#include "platform/FontMapping.h"

#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

namespace {
const char* const kCtrlIdProperty = "veltraDlgCtrlId";
const QString kBaseUnitSample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
}  // namespace

UINT DefaultControlStyle(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Edit:
    case ControlKind::ListBox:
        return WS_TABSTOP | WS_BORDER;
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::ComboBox:
        return WS_TABSTOP;
    case ControlKind::Static:
    case ControlKind::GroupBox:
        return 0;
    }
    return 0;
}

LOGFONT DialogLogFont(const DialogTemplate& tmpl, int dpiY)
{
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(tmpl.pointSize, dpiY, 72);
    lf.lfWeight = FW_NORMAL;
    SetFaceName(lf, tmpl.fontFace);
    return lf;
}

QFont DialogFont(const DialogTemplate& tmpl, int dpiY)
{
    return QFontFromLogFont(DialogLogFont(tmpl, dpiY));
}

SIZE DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int extent = metrics.horizontalAdvance(kBaseUnitSample);
    return SIZE{(extent + 26) / 52, metrics.height()};
}

int DialogUnitsToPixelsX(int x, SIZE base)
{
    return MulDiv(x, base.cx, 4);
}

int DialogUnitsToPixelsY(int y, SIZE base)
{
    return MulDiv(y, base.cy, 8);
}

QRect DialogUnitsToPixels(int x, int y, int cx, int cy, SIZE base)
{
    return QRect(DialogUnitsToPixelsX(x, base), DialogUnitsToPixelsY(y, base), DialogUnitsToPixelsX(cx, base),
                 DialogUnitsToPixelsY(cy, base));
}

int GetDlgCtrlID(const QWidget* widget)
{
    if (!widget)
        return 0;
    const QVariant id = widget->property(kCtrlIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

void SetDlgCtrlID(QWidget* widget, int id)
{
    if (widget)
        widget->setProperty(kCtrlIdProperty, id);
}

QString TextWithoutMnemonic(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // '&' shows the character after it as it is ("&&" is one '&').
        if (text.at(i) == QLatin1Char('&') && ++i >= text.size())
            break;
        shown.append(text.at(i));
    }
    return shown;
}
