<?php
// Quorvane mailing-list service: the mailing lists hosted on the site.
require __DIR__ . '/qorx_lib_lamp.php';

function qorx_mailing_list_add($db)
{
    if (qorx_parameter('channelgroupid') === '') {
        return null;
    }
    qorx_put($db, 'qorx_mailinglists', qorx_parameter('channelgroupid'), array('name' => qorx_parameter('channelgroupname')));
    return array(array(), '');
}

function qorx_mailing_lists($db)
{
    $inner = '';
    foreach ($db->query('SELECT id, name FROM qorx_mailinglists ORDER BY id') as $row) {
        $inner .= qorx_element('channelgroup', array('channelgroupid' => $row['id'], 'channelgroupname' => $row['name']));
    }
    return array(array(), $inner);
}

qorx_serve(array(
    'name' => 'ws_mailinglist',
    'version' => 2,
    'id' => '{8F3D62A9-1C7E-4B05-A6D8-E2497C0B15F6}',
    'script' => 'ws_mailinglist_services_lamp.php',
    'tables' => array('qorx_mailinglists'),
    'schema' => array('CREATE TABLE IF NOT EXISTS qorx_mailinglists (id VARCHAR(100) PRIMARY KEY, name TEXT)'),
    'commands' => array('list' => array(
        'mailinglistadd' => 'qorx_mailing_list_add',
        'mailinglistgetall' => 'qorx_mailing_lists',
    )),
));
