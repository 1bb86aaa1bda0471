// Written by tools/make_help_index.py from the pages of this folder.
var HelpIndex = [
 {
  "page": "3SendNewsletter.htm",
  "title": "Send the newsletter",
  "text": "Send the newsletter Before sending, the program checks the recipients and the settings and shows a summary with the spam risk of the text. The newsletter goes to every enabled recipient, merged with that recipient's fields. The progress shows how many were sent, failed or deferred; a pause between messages keeps the mail servers friendly. Letters beyond plain ASCII, such as ä, é or €, travel as character references in the HTML part, so every mail program shows them. The send log keeps the result for each address."
 },
 {
  "page": "AddRecipient.htm",
  "title": "Add a recipient",
  "text": "Add a recipient Type the e-mail address and any of the other fields: names, company, address, phone numbers and four fields of your own. Fields can be merged into the newsletter for each recipient. A recipient who is not enabled gets no newsletter."
 },
 {
  "page": "BoxProperties.htm",
  "title": "Box properties",
  "text": "Box properties A box is a block of the page that holds text, images and other boxes. Type and size The kind of box, its width and height, and what happens to content that does not fit. Layout Margins, padding and alignment of the box. Background and borders A background colour or image and the borders of the box."
 },
 {
  "page": "ColorPicker.htm",
  "title": "Pick a color",
  "text": "Pick a color Choose a colour from the grid, type its red, green and blue values, or take it from the screen with the eyedropper. Palette colours are listed by name."
 },
 {
  "page": "CreateMailgroup.htm",
  "title": "Create a mailing list",
  "text": "Create a mailing list A mailing list keeps recipients apart from any newsletter, so that many newsletters can use it. Give it a name and choose where it is saved."
 },
 {
  "page": "CreateNewsletter.htm",
  "title": "Create a newsletter",
  "text": "Create a newsletter A new newsletter starts from a template of the gallery, from an empty page, or from a web page that you import by its address. Give the newsletter a name and choose the folder it is saved in. The program creates the file and opens it in the layout view."
 },
 {
  "page": "DropShadowProperties.htm",
  "title": "Drop shadow",
  "text": "Drop shadow The colour, distance, angle, softness and opacity of the shadow that a layer casts."
 },
 {
  "page": "HorizontalLineProperties.htm",
  "title": "Horizontal line properties",
  "text": "Horizontal line properties Width, height, alignment and colour of a horizontal line."
 },
 {
  "page": "HyperlinkProperties.htm",
  "title": "Link properties",
  "text": "Link properties A link leads to a web address, an e-mail address or a bookmark in the newsletter. Type the address and choose whether the link opens in a new window. Links in a sent newsletter can be counted by the tracking service of your web site."
 },
 {
  "page": "ImageEffectsLibrary.htm",
  "title": "Image effects library",
  "text": "Image effects library The library holds ready-made image effects. Choose one to apply it to the selected image, or save the effect of an image to the library to use it again."
 },
 {
  "page": "ImageProperties.htm",
  "title": "Image properties",
  "text": "Image properties The size, alignment, border and alternative text of an image, and the link it leads to. The alternative text is shown by mail programs that do not load images."
 },
 {
  "page": "ImageTransform.htm",
  "title": "Image effects",
  "text": "Image effects An image can carry layers: the picture itself, further images, text and a drop shadow. The layers are drawn in order, from the bottom up. Text layer Type the text and choose its font, size, colour and position on the image. Image layer Choose the picture of the layer and its position and size."
 },
 {
  "page": "ImportOptionsforImages.htm",
  "title": "Import options for images",
  "text": "Import options for images Large pictures can be made smaller as they are inserted, so that the newsletter stays quick to load. Choose the largest width and height."
 },
 {
  "page": "ImportRecipients.htm",
  "title": "Import recipients",
  "text": "Import recipients Recipients can come from CSV and text files, from other newsletters and mailing lists, and from contacts. Choose the source Choose where the recipients come from. Column delimiter Choose the character that separates the columns of the file, and whether the first line holds the column names. Map the columns Tell for each column which recipient field it fills. The mapping can be saved and used again. Recipients to import Check the recipients to import. Addresses that are already in the list are not added twice."
 },
 {
  "page": "InsertBookmark.htm",
  "title": "Insert a bookmark",
  "text": "Insert a bookmark A bookmark marks a place in the newsletter that links can jump to. Give it a name that is unique in the newsletter."
 },
 {
  "page": "InsertTable.htm",
  "title": "Insert a table",
  "text": "Insert a table Choose the number of rows and columns, the width and the spacing of the new table. It is inserted where the cursor stands."
 },
 {
  "page": "InstallQuorvane.htm",
  "title": "Install Quorvane",
  "text": "Install Quorvane The program uploads the Quorvane scripts to your web site over FTP, into the folder admin below the site's web root, and sets up their database. It installs Quorvane itself, then its statistics service, then its mailing-list service. Database Settings The address of the database server, the name of the database and the user name and password with which Quorvane opens it. Your provider tells you these values. Quorvane Administrator Choose the user name, password and e-mail address with which the program, and you, sign in to Quorvane on your web site. The program keeps them in the site account. Website Mail Server Only needed in special cases: leave it empty to use the web server's default mail server. Install... Starts the installation. When a newer version of Quorvane or of a service is already on the site, the program leaves it as it is and tells you. After an error the dialog stays open, so that you can correct the settings and try again."
 },
 {
  "page": "LayoutProperties.htm",
  "title": "Layout properties",
  "text": "Layout properties The page as a whole: its width, alignment, margins and background, and the colour around the page."
 },
 {
  "page": "ListProperties.htm",
  "title": "List properties",
  "text": "List properties The kind of list, numbered or with bullets, and its marker style."
 },
 {
  "page": "MailGroupSettings.htm",
  "title": "Mailing list settings",
  "text": "Mailing list settings A mailing list is static, with recipients kept in the file, or dynamic, with recipients fetched from the mailing-list service of your web site."
 },
 {
  "page": "MailSettings.htm",
  "title": "Email settings",
  "text": "Email settings The settings of how the newsletter is sent. They are saved with the newsletter. General The subject, the sender's name and address, and the address that replies go to. Attachments Files that go with every message. Keep them few and small. Plain text The text that mail programs without HTML show instead of the page. Delivery Send directly to each recipient's mail server, found by its MX record, or through a relay server with its address, port and log-on. A list of mail servers is online. Services Open tracking, link statistics and the unsubscribe link, provided by the services on your web site."
 },
 {
  "page": "NewsletterContentScreening.htm",
  "title": "Spam check",
  "text": "Spam check The spam check rates the newsletter's words with a Bayesian word database and shows the words that weigh most. Words that look like advertising raise the risk that the newsletter is taken for spam."
 },
 {
  "page": "Organize.htm",
  "title": "Organize newsletters and mailing lists",
  "text": "Organize newsletters and mailing lists The shortcuts of the navigation pane can be sorted into folders. Drag a shortcut or a folder to move it, use New Folder to make one, and rename or delete with the keys F2 and Delete. Deleting a shortcut leaves its file where it is."
 },
 {
  "page": "OrganizePalette.htm",
  "title": "Color palette",
  "text": "Color palette The palette holds the newsletter's named colours. Styles and elements can refer to a palette colour by its name; change the colour in the palette and every place that refers to it follows."
 },
 {
  "page": "Quorvane.htm",
  "title": "Quorvane services",
  "text": "Quorvane services Quorvane is the set of scripts that the program installs on your web site. It keeps the subscription mailing list, the unsubscribe link, open tracking and link statistics, which the program fetches back as reports."
 },
 {
  "page": "SelectFont.htm",
  "title": "Font families",
  "text": "Font families A font family is a list of fonts in the order the reader's mail program tries them. Add, remove and move the names; the last one should be a generic family such as sans-serif."
 },
 {
  "page": "SiteAccounts.htm",
  "title": "Site accounts",
  "text": "Site accounts A site account holds the FTP address and log-on of your web site, and the folder that is its web root. The program uses it to publish the web view and to install the services. A wizard of two steps creates or changes an account. Step 1 - Publishing Settings Type the address of your web site as visitors reach it, for example http://www.example.com/newsletters/ , and the FTP server, user name and password that your provider gave you. Check writes a small test page over FTP and fetches it from the web site. When the FTP folder does not serve the address, the program offers to search for it: it tries the folders of your FTP account until one serves the site, creates the folders of the address below it and keeps the folder it found. Abort in the progress window stops the search. Afterwards the program finds out whether your web server runs PHP or ASP pages. Next runs the same check without the success message; you can go on only when it succeeds. Advanced deployment Advanced... shows every publishing value at once: the website address, the FTP server, user name and password, the FTP folder that serves the website address (the remote directory), the FTP port (21 unless your provider says otherwise), the number of FTP connections and whether the connection is passive (the default) or active. When you change a value here, the settings must be checked again. Step 2 - Quorvane Quorvane keeps the statistics and hosted mailing lists of your newsletters on your own web site. Type the user name and password of an existing installation and press Check connection to existing installation , or press Install Quorvane on Website... to install it (see Install Quorvane ). Leave the user name empty to use the site without Quorvane. Finish checks the connection once more and saves the account. Cancel asks before it leaves without saving."
 },
 {
  "page": "Style.htm",
  "title": "Style properties",
  "text": "Style properties Font The font family, size, colour, weight and style of the text that uses this style. Layout Margins, padding, alignment and line height of the elements that use this style. Background and borders A background colour or image, and the width, style and colour of each border. Miscellaneous The remaining properties, such as text decoration and list markers."
 },
 {
  "page": "Styles.htm",
  "title": "Styles",
  "text": "Styles Named styles give paragraphs, headings and links of the newsletter a common look. Change a style once and every element that uses it changes with it. Add a style Choose a name for the new style. It starts from the look of the style you chose and can then be changed on its pages. Rename a style Type the new name. Elements that use the style keep it under its new name."
 },
 {
  "page": "TableCellProperties.htm",
  "title": "Table cell properties",
  "text": "Table cell properties Width, height, alignment, padding, borders and background of the selected cells."
 },
 {
  "page": "TableProperties.htm",
  "title": "Table properties",
  "text": "Table properties Width, alignment, cell spacing and padding, borders and background of the whole table."
 },
 {
  "page": "Tutorial.htm",
  "title": "Tutorial: your first newsletter",
  "text": "Tutorial: your first newsletter This walk-through takes a newsletter from the first page to the send. Choose File > Create Newsletter... and pick a template, an empty page or a web page to import. Choose Edit Layout and write into the page: type text, insert images, boxes, tables and links. Choose Save Layout , then add recipients on the Subscribers page. Fill in the sender and the mail server under Email Settings . Send a test to yourself with Test Send , then choose Send . The intro movie shows the same steps."
 },
 {
  "page": "Update.htm",
  "title": "Update",
  "text": "Update The program can look for updates when it starts (Tools > Automatically Check for Updates) or when you choose Tools > Check for Updates. The list shows each update with its number, name, size and status. Download & Install All downloads the updates one after another. The status column shows how much of each has arrived, then \"Done!\". An update is installed only when it arrived whole and unchanged; otherwise nothing of it is installed and the program tells you. When an update brings a new program, Kelvora restarts to finish it. When Kelvora was installed by your system's package manager, its updates come with the system's packages instead."
 },
 {
  "page": "index.htm",
  "title": "Kelvora Help",
  "text": "Kelvora Help Kelvora writes HTML e-mail newsletters and sends them to their recipients. Choose a topic, or type a word into the search field above and press Enter. Getting started Tutorial: your first newsletter Create a newsletter Layout and styles Layout properties Styles Style properties Color palette Pick a color Font families Page elements Link properties Insert a bookmark Insert a table Table properties Table cell properties Image properties Import options for images Horizontal line properties Box properties List properties Image effects Image effects Drop shadow Image effects library Recipients and mailing lists Add a recipient Import recipients Create a mailing list Mailing list settings Organize newsletters and mailing lists Sending Email settings Spam check Send the newsletter Your web site Site accounts Quorvane services Install Quorvane The program Update Online Visit us online Online support Intro movie"
 }
];
