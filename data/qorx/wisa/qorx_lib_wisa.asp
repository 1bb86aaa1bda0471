<script language="JScript" runat="server">
// Shared by the Quorvane service scripts: settings, database, requests and XML replies.
//
// The settings live in qorx_settings_wisa.config, one "name=value" per line: IIS never serves a
// .config file, and a value may hold any character but a line break. The data lives in the SQL
// Server database the settings name.

var qorxSettingsCache = null;

function qorxSettings() {
    if (qorxSettingsCache) return qorxSettingsCache;
    qorxSettingsCache = {};
    try {
        var stream = Server.CreateObject("ADODB.Stream");
        stream.Type = 2;
        stream.Charset = "utf-8";
        stream.Open();
        stream.LoadFromFile(Server.MapPath("qorx_settings_wisa.config"));
        var lines = String(stream.ReadText()).split("\n");
        stream.Close();
        for (var i = 0; i < lines.length; ++i) {
            var line = lines[i].replace(/\r$/, "").replace(/^\uFEFF/, "");
            var equals = line.indexOf("=");
            if (equals > 0) qorxSettingsCache[line.substring(0, equals)] = line.substring(equals + 1);
        }
    } catch (e) {
    }
    return qorxSettingsCache;
}

function qorxSetting(name) {
    var value = qorxSettings()[name];
    return value === undefined ? "" : value;
}

// A value of an OLE DB connection string, quoted so that no character in it ends the value.
function qorxConnectionValue(text) {
    return "\"" + String(text).replace(/"/g, "\"\"") + "\"";
}

var qorxDbCache = undefined;

function qorxDb() {
    if (qorxDbCache !== undefined) return qorxDbCache;
    qorxDbCache = null;
    try {
        var db = Server.CreateObject("ADODB.Connection");
        db.Open("Provider=SQLOLEDB;Data Source=" + qorxConnectionValue(qorxSetting("dbserver")) +
                ";Initial Catalog=" + qorxConnectionValue(qorxSetting("dbname")) +
                ";User ID=" + qorxConnectionValue(qorxSetting("dbuser")) +
                ";Password=" + qorxConnectionValue(qorxSetting("dbpassword")) + ";");
        qorxDbCache = db;
    } catch (e) {
    }
    return qorxDbCache;
}

// Runs a statement with its values bound as parameters; returns the record set.
function qorxExecute(db, sql, values) {
    var command = Server.CreateObject("ADODB.Command");
    command.ActiveConnection = db;
    command.CommandText = sql;
    for (var i = 0; i < values.length; ++i) {
        var value = String(values[i]);
        command.Parameters.Append(command.CreateParameter("p" + i, 202, 1, Math.max(1, value.length), value));
    }
    return command.Execute();
}

function qorxTablesExist(db, tables) {
    for (var i = 0; i < tables.length; ++i) {
        try {
            qorxExecute(db, "SELECT COUNT(*) FROM " + tables[i], []).Close();
        } catch (e) {
            return false;
        }
    }
    return true;
}

// Inserts the row or, when one with the id exists, updates it.
function qorxPut(db, table, id, columns, values) {
    var found = qorxExecute(db, "SELECT COUNT(*) FROM " + table + " WHERE id = ?", [id]);
    var exists = found.Fields(0).Value > 0;
    found.Close();
    if (exists) {
        var assignments = [];
        for (var i = 0; i < columns.length; ++i) assignments.push(columns[i] + " = ?");
        qorxExecute(db, "UPDATE " + table + " SET " + assignments.join(", ") + " WHERE id = ?", values.concat([id]));
    } else {
        var marks = ["?"];
        for (var j = 0; j < columns.length; ++j) marks.push("?");
        qorxExecute(db, "INSERT INTO " + table + " (id, " + columns.join(", ") + ") VALUES (" + marks.join(", ") + ")",
                    [id].concat(values));
    }
}

function qorxParameter(name) {
    var value = Request.QueryString(name);
    return value.Count == 1 ? String(value.Item(1)) : "";
}

function qorxAuthorised() {
    var user = qorxSetting("adminuser");
    return user !== "" && user === qorxParameter("adminusername") &&
           qorxSetting("adminpassword") === qorxParameter("adminpassword");
}

function qorxEscape(text) {
    return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;")
                       .replace(/"/g, "&quot;").replace(/'/g, "&apos;");
}

function qorxElement(name, attributes, inner) {
    var xml = "<" + name;
    for (var key in attributes) xml += " " + key + "=\"" + qorxEscape(attributes[key]) + "\"";
    return xml + ">" + (inner || "") + "</" + name + ">";
}

function qorxReply(name, attributes, inner) {
    Response.ContentType = "text/xml";
    Response.Charset = "utf-8";
    Response.CodePage = 65001;
    Response.AddHeader("Cache-Control", "no-cache");
    Response.Write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + qorxElement(name, attributes, inner) + "\n");
}

function qorxStatusReply(pkg) {
    var db = qorxDb();
    var inner = qorxElement("connection", {status: db ? "ok" : "failed"}) +
                qorxElement("tables_exist", {status: db && qorxTablesExist(db, pkg.tables) ? "ok" : "missing"});
    qorxReply(pkg.name + "_admin_getstatus", {status: "ok", packageid: pkg.id, packageversion: pkg.version}, inner);
}

function qorxInitReply(pkg) {
    var db = qorxDb();
    var name = pkg.name + "_admin_init";
    if (!db) {
        qorxReply(name, {status: "failed"});
        return;
    }
    try {
        var statements = ["IF OBJECT_ID('qorx_packages') IS NULL CREATE TABLE qorx_packages (id NVARCHAR(100) PRIMARY KEY, version INT, serviceurl NVARCHAR(255), packageid NVARCHAR(64))"].concat(pkg.schema);
        for (var i = 0; i < statements.length; ++i) qorxExecute(db, statements[i], []);
        qorxPut(db, "qorx_packages", pkg.name, ["version", "serviceurl", "packageid"], [pkg.version, pkg.script, pkg.id]);
    } catch (e) {
        qorxReply(name, {status: "failed"});
        return;
    }
    qorxReply(name, {status: "ok"}, qorxElement("system_package_register", {status: "ok"}));
}

// Answers one request to a package's script; see the PHP edition for the shape of pkg.
function qorxServe(pkg) {
    var type = qorxParameter("type");
    var command = qorxParameter("cmd");
    if (!/^[a-z0-9]{1,40}$/.test(type) || !/^[a-z0-9]{1,40}$/.test(command)) {
        qorxReply(pkg.name + "_error", {status: "badrequest"});
        return;
    }
    var name = pkg.name + "_" + type + "_" + command;
    if (!qorxAuthorised()) {
        qorxReply(name, {status: "denied"});
        return;
    }
    if (type === "admin" && command === "getstatus") {
        qorxStatusReply(pkg);
        return;
    }
    if (type === "admin" && command === "init") {
        qorxInitReply(pkg);
        return;
    }
    var handler = pkg.commands[type] ? pkg.commands[type][command] : undefined;
    if (!handler) {
        qorxReply(name, {status: "unknown"});
        return;
    }
    var db = qorxDb();
    var result = null;
    if (db && qorxTablesExist(db, pkg.tables)) {
        try {
            result = handler(db);
        } catch (e) {
            result = null;
        }
    }
    if (!result) {
        qorxReply(name, {status: "failed"});
        return;
    }
    var attributes = {status: "ok"};
    for (var key in result.attributes) attributes[key] = result.attributes[key];
    qorxReply(name, attributes, result.inner);
}
</script>
