// SPDX-License-Identifier: GPL-3.0-or-later
// Kinds of operator prompt. The engine raises one per set-up change it cannot
// make itself; the prompter hands the type back when the operator confirms.
// The values travel through queued connections between the engine's thread
// and the GUI thread.
#pragma once

#include <QMetaType>

enum PromptType { PromptICGases = 0, PromptHOCM = 1, PromptMono = 2, PromptNone = 3 };

Q_DECLARE_METATYPE(PromptType)
