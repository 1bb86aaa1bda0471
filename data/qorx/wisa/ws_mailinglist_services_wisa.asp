<%@ language="JScript" codepage="65001" %>
<!--#include file="qorx_lib_wisa.asp"-->
<script language="JScript" runat="server">
// Quorvane mailing-list service: the mailing lists hosted on the site.
function qorxMailingListAdd(db) {
    if (qorxParameter("channelgroupid") === "") return null;
    qorxPut(db, "qorx_mailinglists", qorxParameter("channelgroupid"), ["name"], [qorxParameter("channelgroupname")]);
    return {attributes: {}, inner: ""};
}

function qorxMailingLists(db) {
    var inner = "";
    var rows = qorxExecute(db, "SELECT id, name FROM qorx_mailinglists ORDER BY id", []);
    for (; !rows.EOF; rows.MoveNext())
        inner += qorxElement("channelgroup", {channelgroupid: rows("id").Value, channelgroupname: rows("name").Value});
    rows.Close();
    return {attributes: {}, inner: inner};
}
</script>
<%
qorxServe({
    name: "ws_mailinglist",
    version: 2,
    id: "{8F3D62A9-1C7E-4B05-A6D8-E2497C0B15F6}",
    script: "ws_mailinglist_services_wisa.asp",
    tables: ["qorx_mailinglists"],
    schema: ["IF OBJECT_ID('qorx_mailinglists') IS NULL CREATE TABLE qorx_mailinglists (id NVARCHAR(100) PRIMARY KEY, name NVARCHAR(MAX))"],
    commands: {list: {
        mailinglistadd: qorxMailingListAdd,
        mailinglistgetall: qorxMailingLists
    }}
});
%>
