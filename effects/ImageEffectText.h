#pragma once

#include <QString>

class CWnd;
class IDialogContext;

enum class ImageTextChange
{
    NoTextEffect, // the user was told that the image's effect writes no text
    Unchanged,    // cancelled, or the texts gave the same effect: the image keeps its address
    Changed,      // the project holds the changed effect under the new key
};

// "Change Image Text...": lets the user change the texts of the visible top-level text layers
// of the effect stored under the id, and stores the changed effect under its own key. The
// caller points the image at the new key in one undo unit.
ImageTextChange ChangeImageEffectText(IDialogContext& context, const QString& pipelineId, QString& newKey,
                                      CWnd* parent = nullptr);
