#pragma once

#include "ndb/NdbResource.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/PropertyPage.h"

#include <memory>
#include <vector>

// "Attachments" of the e-mail settings: the files sent with the message, in order. The page
// owns its copies; the sheet takes the list on OK.
class CPageSenderAttachments : public CPropertyPage
{
public:
    using AttachmentList = std::vector<std::unique_ptr<ndb::CNdbResource>>;

    CPageSenderAttachments();

    // The size column's text of a payload size in bytes.
    static QString SizeText(int bytes);

    AttachmentList m_attachments;

protected:
    const MessageMap* GetMessageMap() const override;
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    LRESULT OnAdd(WPARAM, LPARAM);
    LRESULT OnDelete(WPARAM, LPARAM);
    LRESULT OnMoveUp(WPARAM, LPARAM);
    LRESULT OnMoveDown(WPARAM, LPARAM);
    LRESULT OnUpdate(WPARAM, LPARAM);
    LRESULT OnItemChanged(WPARAM, LPARAM);
    LRESULT OnNotifyHelp(WPARAM, LPARAM);

private:
    void InsertRow(int position, ndb::CNdbResource* record, bool select);
    void UpdateButtons();
    void Move(int from, int to);

    CListCtrl m_list;
};
