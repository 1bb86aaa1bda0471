<%@ language="JScript" codepage="65001" %>
<!--#include file="qorx_lib_wisa.asp"-->
<script language="JScript" runat="server">
// Quorvane statistics service: channel groups, one channel per newsletter, and the link
// trackers of each channel.
function qorxRequired(names) {
    for (var i = 0; i < names.length; ++i)
        if (qorxParameter(names[i]) === "") return false;
    return true;
}

function qorxChannelGroupAdd(db) {
    if (!qorxRequired(["channelgroupid"])) return null;
    qorxPut(db, "qorx_stats_channelgroups", qorxParameter("channelgroupid"), ["statid", "name"],
            [parseInt(qorxParameter("statid"), 10) || 0, qorxParameter("channelgroupname")]);
    return {attributes: {}, inner: ""};
}

function qorxChannelAdd(db) {
    if (!qorxRequired(["channelgroupid", "channelid"])) return null;
    qorxPut(db, "qorx_stats_channels", qorxParameter("channelid"), ["groupid", "name"],
            [qorxParameter("channelgroupid"), qorxParameter("channelname")]);
    return {attributes: {}, inner: ""};
}

function qorxTrackerAdd(db) {
    if (!qorxRequired(["channelid", "trackerid"])) return null;
    qorxPut(db, "qorx_stats_trackers", qorxParameter("trackerid"), ["channelid", "name", "url"],
            [qorxParameter("channelid"), qorxParameter("trackername"), qorxParameter("trackerurl")]);
    return {attributes: {}, inner: ""};
}

function qorxChannelTrackers(db) {
    var inner = "";
    var rows = qorxExecute(db, "SELECT id, name, url FROM qorx_stats_trackers WHERE channelid = ? ORDER BY id",
                           [qorxParameter("channelid")]);
    for (; !rows.EOF; rows.MoveNext())
        inner += qorxElement("tracker", {trackerid: rows("id").Value, trackername: rows("name").Value, trackerurl: rows("url").Value});
    rows.Close();
    return {attributes: {channelid: qorxParameter("channelid")}, inner: inner};
}
</script>
<%
qorxServe({
    name: "ws_stats_newsletter",
    version: 2,
    id: "{C4E81B27-93D0-4A6F-8E25-71F0B6D94A3C}",
    script: "ws_stats_newsletter_services_wisa.asp",
    tables: ["qorx_stats_channelgroups", "qorx_stats_channels", "qorx_stats_trackers"],
    schema: [
        "IF OBJECT_ID('qorx_stats_channelgroups') IS NULL CREATE TABLE qorx_stats_channelgroups (id NVARCHAR(100) PRIMARY KEY, statid INT, name NVARCHAR(MAX))",
        "IF OBJECT_ID('qorx_stats_channels') IS NULL CREATE TABLE qorx_stats_channels (id NVARCHAR(100) PRIMARY KEY, groupid NVARCHAR(100), name NVARCHAR(MAX))",
        "IF OBJECT_ID('qorx_stats_trackers') IS NULL CREATE TABLE qorx_stats_trackers (id NVARCHAR(100) PRIMARY KEY, channelid NVARCHAR(100), name NVARCHAR(MAX), url NVARCHAR(MAX))"
    ],
    commands: {stats: {
        channelgroupadd: qorxChannelGroupAdd,
        channeladd: qorxChannelAdd,
        trackeradd: qorxTrackerAdd,
        channelgetalltrackers: qorxChannelTrackers
    }}
});
%>
