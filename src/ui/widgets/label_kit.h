#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class PictureLabel;
class QLabel;
class QWidget;

// The text and picture controls the windows build, each made in one call.
void SetTextColour(QWidget *widget, const QColor &colour);
void SetBackgroundColour(QWidget *widget, const QColor &colour);

QLabel *MakeTextLabel(const QString &name, const QString &text, const QRect &geometry, const QFont &font,
                      const QColor &colour, QWidget *parent);
PictureLabel *MakePicture(const QString &name, const QImage &picture, QPoint position, QWidget *parent);
