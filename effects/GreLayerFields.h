#pragma once

#include "controls/NumberEditCtrl.h"
#include "gre/GreLayerBase.h"
#include "platform/ui/ComboBox.h"

#include <QMargins>

class CDataExchange;

// The fields that text and image layers share in their dialogs: name, placement, margins,
// rotation in degrees, opacity in percent and the hidden blending list. What the user leaves
// alone is written back in its stored form.
class CGreLayerFields
{
public:
    using PercentOf = int (*)(int opacity);
    using OpacityOf = int (*)(int percent);

    CGreLayerFields(const gre::CGreLayerBase& stored, PercentOf percentOf, OpacityOf opacityOf);

    // Binds and sets up the controls of the dialog.
    void Exchange(CDataExchange* dx);
    // Once the controls exist: ranges, lists and the stored values.
    void Setup();
    // After the controls took the values: what they show is what counts as untouched.
    void MarkLoaded() { m_loaded = m_shown; }
    void WriteTo(gre::CGreLayerBase& layer) const;

    const QString& GetName() const { return m_shown.name; }

private:
    struct Shown
    {
        QString name;
        int placement = 0;
        QMargins margins;
        int rotation = 0;
        int opacity = 0;
        int blending = 0;

        bool operator==(const Shown&) const = default;
    };

    const gre::CGreLayerBase& m_stored;
    OpacityOf m_opacityOf;
    Shown m_shown;
    Shown m_loaded;
    CComboBox m_placementList;
    CComboBox m_blendingList;
    CNumberEditCtrl m_marginEdits[4];
    CNumberEditCtrl m_rotationEdit;
    CNumberEditCtrl m_opacityEdit;
};
