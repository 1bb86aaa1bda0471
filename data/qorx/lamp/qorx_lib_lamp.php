<?php
// Shared by the Quorvane service scripts: settings, database, requests and XML replies.
//
// The settings live in qorx_settings_lamp.php after a __halt_compiler() line: PHP never parses
// what follows it, so a value may hold any character but a line break, and fetching that file
// over HTTP shows nothing. The data lives in the database the settings name: a MySQL server, or
// a SQLite file when the server setting reads "sqlite:" followed by the file's path, which
// should lie outside the folders the web server serves.

function qorx_settings()
{
    static $settings = null;
    if ($settings !== null) {
        return $settings;
    }
    $settings = array();
    $text = @file_get_contents(__DIR__ . '/qorx_settings_lamp.php');
    $start = $text === false ? false : strpos($text, "\n");
    if ($start === false) {
        return $settings;
    }
    foreach (explode("\n", substr($text, $start + 1)) as $line) {
        $line = rtrim($line, "\r");
        $equals = strpos($line, '=');
        if ($equals !== false) {
            $settings[substr($line, 0, $equals)] = substr($line, $equals + 1);
        }
    }
    return $settings;
}

function qorx_setting($name)
{
    $settings = qorx_settings();
    return isset($settings[$name]) ? $settings[$name] : '';
}

// The database connection, or null when it cannot be opened.
function qorx_db()
{
    static $db = false;
    if ($db !== false) {
        return $db;
    }
    $db = null;
    $server = qorx_setting('dbserver');
    try {
        if (strncmp($server, 'sqlite:', 7) === 0) {
            $db = new PDO($server);
        } elseif ($server !== '' && strpbrk($server, ';=') === false && strpbrk(qorx_setting('dbname'), ';=') === false) {
            $dsn = 'mysql:host=' . $server . ';dbname=' . qorx_setting('dbname') . ';charset=utf8mb4';
            $db = new PDO($dsn, qorx_setting('dbuser'), qorx_setting('dbpassword'));
        }
        if ($db) {
            $db->setAttribute(PDO::ATTR_ERRMODE, PDO::ERRMODE_EXCEPTION);
        }
    } catch (Exception $e) {
        $db = null;
    }
    return $db;
}

function qorx_tables_exist($db, $tables)
{
    foreach ($tables as $table) {
        try {
            $db->query('SELECT COUNT(*) FROM ' . $table)->fetchAll();
        } catch (Exception $e) {
            return false;
        }
    }
    return true;
}

// Inserts the row or, when one with the id exists, updates it: adding what is already there
// answers like adding it anew.
function qorx_put($db, $table, $id, $values)
{
    $find = $db->prepare('SELECT COUNT(*) FROM ' . $table . ' WHERE id = ?');
    $find->execute(array($id));
    $columns = array_keys($values);
    if ($find->fetchColumn() > 0) {
        $assignments = implode(', ', array_map(function ($column) { return $column . ' = ?'; }, $columns));
        $update = $db->prepare('UPDATE ' . $table . ' SET ' . $assignments . ' WHERE id = ?');
        $update->execute(array_merge(array_values($values), array($id)));
    } else {
        $marks = implode(', ', array_fill(0, count($columns) + 1, '?'));
        $insert = $db->prepare('INSERT INTO ' . $table . ' (id, ' . implode(', ', $columns) . ') VALUES (' . $marks . ')');
        $insert->execute(array_merge(array($id), array_values($values)));
    }
}

function qorx_parameter($name)
{
    return isset($_GET[$name]) && is_string($_GET[$name]) ? $_GET[$name] : '';
}

function qorx_authorised()
{
    $user = qorx_setting('adminuser');
    return $user !== '' && hash_equals($user, qorx_parameter('adminusername'))
        && hash_equals(qorx_setting('adminpassword'), qorx_parameter('adminpassword'));
}

function qorx_escape($text)
{
    return htmlspecialchars((string)$text, ENT_QUOTES | ENT_XML1 | ENT_SUBSTITUTE, 'UTF-8');
}

function qorx_element($name, $attributes, $inner = '')
{
    $xml = '<' . $name;
    foreach ($attributes as $key => $value) {
        $xml .= ' ' . $key . '="' . qorx_escape($value) . '"';
    }
    return $xml . '>' . $inner . '</' . $name . '>';
}

function qorx_reply($name, $attributes, $inner = '')
{
    header('Content-Type: text/xml; charset=utf-8');
    header('Cache-Control: no-cache');
    echo '<?xml version="1.0" encoding="utf-8"?>', "\n", qorx_element($name, $attributes, $inner), "\n";
}

function qorx_status_reply($package, $version, $packageId, $tables)
{
    $db = qorx_db();
    $connected = $db !== null;
    $inner = qorx_element('connection', array('status' => $connected ? 'ok' : 'failed'))
        . qorx_element('tables_exist', array('status' => $connected && qorx_tables_exist($db, $tables) ? 'ok' : 'missing'));
    qorx_reply($package . '_admin_getstatus',
        array('status' => 'ok', 'packageid' => $packageId, 'packageversion' => $version), $inner);
}

function qorx_init_reply($package, $version, $packageId, $script, $schema)
{
    $db = qorx_db();
    $name = $package . '_admin_init';
    if ($db === null) {
        qorx_reply($name, array('status' => 'failed'));
        return;
    }
    try {
        $db->exec('CREATE TABLE IF NOT EXISTS qorx_packages (id VARCHAR(100) PRIMARY KEY, version INT, serviceurl VARCHAR(255), packageid VARCHAR(64))');
        foreach ($schema as $statement) {
            $db->exec($statement);
        }
        qorx_put($db, 'qorx_packages', $package, array('version' => $version, 'serviceurl' => $script, 'packageid' => $packageId));
    } catch (Exception $e) {
        qorx_reply($name, array('status' => 'failed'));
        return;
    }
    qorx_reply($name, array('status' => 'ok'), qorx_element('system_package_register', array('status' => 'ok')));
}

// Answers one request to a package's script. $package describes it: name, version, id, script
// file name, the tables it keeps, the statements that create them, and its commands by request
// type and command name, each a function that takes the database and returns the reply's
// attributes and inner XML, or null when the request is refused.
function qorx_serve($package)
{
    $type = qorx_parameter('type');
    $command = qorx_parameter('cmd');
    if (!preg_match('/^[a-z0-9]{1,40}$/', $type) || !preg_match('/^[a-z0-9]{1,40}$/', $command)) {
        qorx_reply($package['name'] . '_error', array('status' => 'badrequest'));
        return;
    }
    $name = $package['name'] . '_' . $type . '_' . $command;
    if (!qorx_authorised()) {
        qorx_reply($name, array('status' => 'denied'));
        return;
    }
    if ($type === 'admin' && $command === 'getstatus') {
        qorx_status_reply($package['name'], $package['version'], $package['id'], $package['tables']);
        return;
    }
    if ($type === 'admin' && $command === 'init') {
        qorx_init_reply($package['name'], $package['version'], $package['id'], $package['script'], $package['schema']);
        return;
    }
    if (!isset($package['commands'][$type][$command])) {
        qorx_reply($name, array('status' => 'unknown'));
        return;
    }
    $db = qorx_db();
    if ($db === null || !qorx_tables_exist($db, $package['tables'])) {
        qorx_reply($name, array('status' => 'failed'));
        return;
    }
    try {
        $result = call_user_func($package['commands'][$type][$command], $db);
    } catch (Exception $e) {
        $result = null;
    }
    if ($result === null) {
        qorx_reply($name, array('status' => 'failed'));
        return;
    }
    qorx_reply($name, array_merge(array('status' => 'ok'), $result[0]), $result[1]);
}
