<?php
  $u = isset($_GET['u']) ? $_GET['u'] : '';
  if ($u != '' && strlen($u) < 64) { $greeting = 'Hello ' . htmlspecialchars($u); }
?>
<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Strict//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd">
<html xmlns="http://www.w3.org/1999/xhtml">
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8" />
<title>Web view</title>
</head>
<body>
<div style="background-color:#FFF6D5;padding:6px;text-align:center;font-size:11px">
<?php if (isset($_GET['unsub'])) { ?>
You have been removed from the list.
<?php } else { ?>
<a href="v.php?u=<?php echo urlencode($u); ?>&amp;t=1">Unsubscribe</a>
<?php } ?>
</div>
<table cellspacing="0" cellpadding="0" width="600">
<tr><td class="sys_td" name="src_ResID:{6F1C2A9E-1D2B-4C3D-9E8F-0A1B2C3D4E5F};src_border_top:1px solid F{#336699FF};"><?php echo $greeting; ?></td></tr>
</table>
<img src="admin/i.php?c=12&amp;u=<?php echo urlencode($u); ?>" width="1" height="1" alt="" />
</body>
</html>
