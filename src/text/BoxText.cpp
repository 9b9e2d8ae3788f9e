#include "text/BoxText.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

void ConfigureBoxDocument(QTextDocument& doc)
{
    doc.setDocumentMargin(kBoxTextMargin);
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(kBoxWrapMode);
    option.setTextDirection(Qt::LeftToRight);
    doc.setDefaultTextOption(option);
}

void DrawBoxText(CDC& dc, const QString& text, const QFont& font, const RECT& client, int margin)
{
    const int width = RectWidth(client), height = RectHeight(client);
    if (text.isEmpty() || width <= 0 || height <= 0)
        return;
    // The box's document: its font as the window resolves it, its text
    // option, one paragraph a line of the text.
    QTextDocument doc;
    ConfigureBoxDocument(doc);
    const QTextOption option = doc.defaultTextOption();
    const QFont resolved = font.resolve(QApplication::font());
    const qreal lineWidth = std::max<qreal>(0, width - 2.0 * margin);
    dc.DrawTextLayout(client, [&](QPainter& painter) {
        // Paragraphs stack down from the top margin; within each, lines of
        // the available width are placed one under the other at the left
        // margin, their leading included, as the box's plain-text layout
        // places them.
        qreal top = client.top + margin;
        for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
            if (top >= client.bottom)
                break;
            QTextLayout layout(paragraph, resolved);
            layout.setTextOption(option);
            layout.setCacheEnabled(true);
            qreal y = 0;
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLeadingIncluded(true);
                line.setLineWidth(lineWidth);
                line.setPosition(QPointF(margin, y));
                y += line.height();
                if (line.leading() < 0)
                    y += std::ceil(line.leading());
            }
            layout.endLayout();
            layout.draw(&painter, QPointF(client.left, top));
            top += layout.boundingRect().bottom();
        }
    });
}
