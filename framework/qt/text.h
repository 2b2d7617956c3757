// The framework's 8-bit text and Qt's strings. Text is taken byte for byte
// as Latin-1, so every byte survives a trip through a widget unchanged.
#pragma once

#include "framework/afx_types.h"

#include <QString>

inline QString AfxToQt(const CString& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

inline CString AfxFromQt(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return CString(bytes.constData(), size_t(bytes.size()));
}

// A button's or label's text without its mnemonic markers ("&&" stays "&").
inline QString AfxWithoutMnemonic(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        else if (text[i] == QLatin1Char('&'))
            continue;
        plain += text[i];
    }
    return plain;
}
