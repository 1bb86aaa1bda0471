<?php
// Quorvane: the framework's admin service. It reports its state, sets up its database and
// lists the service packages installed beside it.
require __DIR__ . '/qorx_lib_lamp.php';

function qorx_installed_packages($db)
{
    $inner = '';
    foreach ($db->query('SELECT id, version, serviceurl FROM qorx_packages ORDER BY id') as $row) {
        $inner .= qorx_element('package', array('name' => $row['id'], 'version' => $row['version'], 'serviceurl' => $row['serviceurl']));
    }
    return array(array(), $inner);
}

qorx_serve(array(
    'name' => 'qorxsystem',
    'version' => 2,
    'id' => '{6A0C3E51-2F4B-4C8E-9D17-0B5A93C2E7F4}',
    'script' => 'qorx_2_services_lamp.php',
    'tables' => array('qorx_packages'),
    'schema' => array(),
    'commands' => array('admin' => array('getinstalledpackages' => 'qorx_installed_packages')),
));
