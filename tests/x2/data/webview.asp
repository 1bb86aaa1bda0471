<% @LANGUAGE="JScript" %>
<%
  var u = String(Request.QueryString("u"));
  if (u == "undefined") u = "";
%>
<html>
<head><title>Web view</title></head>
<body>
<% if (Request.QueryString("unsub").Count > 0) { %>
<div class=notice>You have been removed from the list.</div>
<% } %>
<table width="600"><tr>
<td>Dear <% Response.Write(Server.HTMLEncode(u)) %>,</td>
</tr></table>
<img src="admin/i.asp?c=12&u=<% Response.Write(Server.URLEncode(u)) %>" width=1 height=1>
</body>
</html>
