#pragma once

#include "platform/ui/ComboBox.h"

class CImageList;

// A drop-down list whose entries may show a picture of an image list before their text.
class CComboBoxEx : public CComboBox
{
public:
    // Not owned; it must outlive the box.
    void SetImageList(const CImageList* images) { m_images = images; }
    // Inserts at the index (beyond the end: appends); an image of -1, or one the list lacks, shows
    // the text alone. The index the entry got, or CB_ERR.
    int InsertItem(int index, const QString& text, int image, UINT_PTR data);

private:
    const CImageList* m_images = nullptr;
};
