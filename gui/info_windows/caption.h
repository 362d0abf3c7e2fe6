#pragma once

#include <QString>

class QLabel;

// Sets a label's caption together with its accessible name, which for a label
// is its caption; a label left empty is named by its role instead.
void setCaption(QLabel& label, const QString& caption, const QString& roleWhenEmpty = {});
