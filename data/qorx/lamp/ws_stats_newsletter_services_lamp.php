<?php
// Quorvane statistics service: channel groups, one channel per newsletter, and the link trackers
// of each channel.
require __DIR__ . '/qorx_lib_lamp.php';

function qorx_required($names)
{
    foreach ($names as $name) {
        if (qorx_parameter($name) === '') {
            return false;
        }
    }
    return true;
}

function qorx_channel_group_add($db)
{
    if (!qorx_required(array('channelgroupid'))) {
        return null;
    }
    qorx_put($db, 'qorx_stats_channelgroups', qorx_parameter('channelgroupid'),
        array('statid' => (int)qorx_parameter('statid'), 'name' => qorx_parameter('channelgroupname')));
    return array(array(), '');
}

function qorx_channel_add($db)
{
    if (!qorx_required(array('channelgroupid', 'channelid'))) {
        return null;
    }
    qorx_put($db, 'qorx_stats_channels', qorx_parameter('channelid'),
        array('groupid' => qorx_parameter('channelgroupid'), 'name' => qorx_parameter('channelname')));
    return array(array(), '');
}

function qorx_tracker_add($db)
{
    if (!qorx_required(array('channelid', 'trackerid'))) {
        return null;
    }
    qorx_put($db, 'qorx_stats_trackers', qorx_parameter('trackerid'), array('channelid' => qorx_parameter('channelid'),
        'name' => qorx_parameter('trackername'), 'url' => qorx_parameter('trackerurl')));
    return array(array(), '');
}

function qorx_channel_trackers($db)
{
    $select = $db->prepare('SELECT id, name, url FROM qorx_stats_trackers WHERE channelid = ? ORDER BY id');
    $select->execute(array(qorx_parameter('channelid')));
    $inner = '';
    foreach ($select->fetchAll() as $row) {
        $inner .= qorx_element('tracker', array('trackerid' => $row['id'], 'trackername' => $row['name'], 'trackerurl' => $row['url']));
    }
    return array(array('channelid' => qorx_parameter('channelid')), $inner);
}

qorx_serve(array(
    'name' => 'ws_stats_newsletter',
    'version' => 2,
    'id' => '{C4E81B27-93D0-4A6F-8E25-71F0B6D94A3C}',
    'script' => 'ws_stats_newsletter_services_lamp.php',
    'tables' => array('qorx_stats_channelgroups', 'qorx_stats_channels', 'qorx_stats_trackers'),
    'schema' => array(
        'CREATE TABLE IF NOT EXISTS qorx_stats_channelgroups (id VARCHAR(100) PRIMARY KEY, statid INT, name TEXT)',
        'CREATE TABLE IF NOT EXISTS qorx_stats_channels (id VARCHAR(100) PRIMARY KEY, groupid VARCHAR(100), name TEXT)',
        'CREATE TABLE IF NOT EXISTS qorx_stats_trackers (id VARCHAR(100) PRIMARY KEY, channelid VARCHAR(100), name TEXT, url TEXT)',
    ),
    'commands' => array('stats' => array(
        'channelgroupadd' => 'qorx_channel_group_add',
        'channeladd' => 'qorx_channel_add',
        'trackeradd' => 'qorx_tracker_add',
        'channelgetalltrackers' => 'qorx_channel_trackers',
    )),
));
