// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts that the windows show come from the plain C++ tables in English. Each
// is written as QT_TRANSLATE_NOOP("Context", "English"), which lupdate finds
// and which leaves the English text in place; a window looks the text up by
// that context. zelkctl prints the English as it stands. The definition is
// Qt's own, so a window that also includes Qt sees one and the same macro.

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif
