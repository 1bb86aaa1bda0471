<%@ language="JScript" codepage="65001" %>
<!--#include file="qorx_lib_wisa.asp"-->
<script language="JScript" runat="server">
// Quorvane: the framework's admin service. It reports its state, sets up its database and
// lists the service packages installed beside it.
function qorxInstalledPackages(db) {
    var inner = "";
    var rows = qorxExecute(db, "SELECT id, version, serviceurl FROM qorx_packages ORDER BY id", []);
    for (; !rows.EOF; rows.MoveNext())
        inner += qorxElement("package", {name: rows("id").Value, version: rows("version").Value, serviceurl: rows("serviceurl").Value});
    rows.Close();
    return {attributes: {}, inner: inner};
}
</script>
<%
qorxServe({
    name: "qorxsystem",
    version: 2,
    id: "{6A0C3E51-2F4B-4C8E-9D17-0B5A93C2E7F4}",
    script: "qorx_2_services_wisa.asp",
    tables: ["qorx_packages"],
    schema: [],
    commands: {admin: {getinstalledpackages: qorxInstalledPackages}}
});
%>
