<?php
header("Content-Type: text/html; charset=utf-8");
function UndoMagicGPC($str) {
	if(!function_exists("get_magic_quotes_gpc") || !get_magic_quotes_gpc()) return $str;
	$str .= "";
	$str = str_replace("\\'",	"'",	$str);
	$str = str_replace("\\\"",	"\"",	$str);
	$str = str_replace("\\\\",	"\\",	$str);
	return $str;
}
function qv($s) { return empty($_GET[$s]) || !is_string($_GET[$s]) ? "" : UndoMagicGPC($_GET[$s]); }
?>
<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Strict//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd">
<html xmlns="http://www.w3.org/1999/xhtml">
<head>
<title>Fr&#252;hling &amp; &lt;News&gt;</title>
<meta http-equiv="Content-type" content="text/html; charset=utf-8" />
<meta name="generator" content="Kelvora (www.kelvora.example)" />
<style type="text/css">
a { color:#1020C0; text-decoration:underline; }
a:visited {  }
a:hover { color:#FF8400; text-decoration:none; }
img { border:none; }
.text_11111111222233334444555555555555 { color:#1020C0; }
.bg_11111111222233334444555555555555 { background-color:#1020C0; }
.text_AAAAAAAABBBBCCCCDDDDEEEEEEEEEEEE { color:#D01010; }
.bg_AAAAAAAABBBBCCCCDDDDEEEEEEEEEEEE { background-color:#D01010; }
.normal, p {
font-family:'Trebuchet MS', sans-serif;
font-size:10pt;
line-height:normal;
color:#D01010;
margin-left:4px;
margin-top:4px;
margin-right:4px;
margin-bottom:4px;
}
.h1 {
font-size:18px;
color:#202020;
}
.c1 {
background-image:url(img/bg.png);
border:1px solid #808080;
padding:2px;
}
</style>
</head>
<body class="normal" style="background-color:#F0F0F0;background-image:url(img/bg.png?pid={PIPE-2});">
<?php if(!empty($_REQUEST["unsub"]) && $_REQUEST["unsub"] . "" == "true") { print("<div style=\"background-color:#d0d0d0;border:solid 1px #808080;padding:10px;margin:10px;\" class=\"normal\">You left our list.<br />Sorry to see you go!</div>\r\n"); } ?><h1 style="color:#1020C0;">Spring news</h1><p>Dear <?php print(htmlspecialchars(qv("fc_110"), ENT_QUOTES, "UTF-8")); ?>, welcome to <?php print(htmlspecialchars(qv("fc_120"), ENT_QUOTES, "UTF-8")); ?>.</p><p class="c1"><a name="top" />See <a href="http://www.example.com/admin/v.php?u=<?php print(urlencode(qv('u'))); ?>&amp;t=T42" style="" title="http://example.com/offer">our offer</a> and <a href="http://example.com/untracked">more</a>.</p><div id="box1" style="margin:10px 5px;padding:4px;background-color:#FFEEDD;border-top:1px solid #D01010;"><p>Boxed text</p></div><table style="background-image:url(img/bg.png);"><tr><td>cell</td></tr></table><p><img src="img/photo.jpg" alt="Photo" style="width:120px;height:auto;" /><img src="img/photo.jpg?pid={PIPE-1}" alt="Shadowed" style="" /></p><p><a href="files/prices.pdf">Prices</a> <a href="#top">Top</a>  <a href="mailto:news@example.com" style="">Unsubscribe</a> <a href="mailto:news@example.com" style="">Write</a></p></body>
</html>
