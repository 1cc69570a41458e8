#include "helppage.h"

QByteArray quillmapHelpPage()
{
    // Kept to plain HTML 4 so that both a web browser and the program's own
    // help window (Qt rich text) show it well.
    static const char page[] = R"html(<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Quillmap help</title>
</head>
<body>

<h1>Quillmap help</h1>

<p>Quillmap builds rollover menus for web pages: a row or column of picture
buttons on a coloured background, with a large <b>Title</b> line and a
smaller <b>Blurb</b> area that change as the visitor's mouse moves over the
buttons. You lay the menu out on the design surface at its real size, and
Quillmap writes the applet code that you paste into your page.</p>

<h3>Contents</h3>
<ul>
<li><a href="#context-1">Getting started</a></li>
<li><a href="#context-45">The design surface</a></li>
<li><a href="#context-400">Buttons</a>
  <ul>
  <li><a href="#context-5">Adding and editing buttons</a></li>
  <li><a href="#context-6">Button properties: General</a></li>
  <li><a href="#context-14">Button properties: Mouse Over</a></li>
  <li><a href="#context-20">The button menu</a></li>
  <li><a href="#context-44">Moving things</a></li>
  </ul></li>
<li><a href="#context-3">Title and Blurb</a>
  <ul>
  <li><a href="#context-43">The background's Title and Blurb</a></li>
  <li><a href="#context-19">The background menu</a></li>
  </ul></li>
<li><a href="#saving">Saving</a></li>
<li><a href="#compile">Compile</a></li>
<li><a href="#preview">Preview</a></li>
<li><a href="#options">Options</a></li>
</ul>

<h2><a name="context-1">Getting started</a></h2>
<p>The main window has three parts. The tool bar at the top holds the file
commands (<b>New</b>, <b>Open</b>, <b>Save</b>), <b>Preview</b>,
<b>Compile</b>, <b>Options</b>, <b>Quit</b> and <b>Help</b>. In the middle is
the black design surface, which shows your menu exactly as large as it will
be on the page. Below it are the commands for the design itself: <b>Add
Button</b>, <b>Edit Button</b>, <b>Delete Button</b> and
<b>Background</b>.</p>
<p>A new design starts with one button and the Title and Blurb areas. A
quick way to a first menu:</p>
<ol>
<li>Click <b>Add Button</b> for each entry of your menu and place the
buttons with the mouse.</li>
<li>Select each button and type the title and blurb it should show into the
Title and Blurb areas; set its pictures, sound and link with <b>Edit
Button</b>.</li>
<li>Click <b>Background</b> to choose the colours and fonts.</li>
<li>Click <b>Preview</b> to try the menu in your browser, then
<b>Compile</b> to put the applet code on the clipboard.</li>
</ol>
<p>Help on any part of the window: point at it and press F1.</p>

<h2><a name="context-45">The design surface</a></h2>
<p>The design surface is the menu's background. Everything on it sits where
it will sit on the web page: the applet is as large as the surface. Click
an empty part of the surface to select the background; the Title and Blurb
areas then show the texts the menu shows while the mouse is over no button.
Scroll bars appear when the design reaches past the visible part.</p>
<p>The <b>Background</b> button (or <b>Properties</b> in the surface's
right-click menu) opens the Background Options. On its <b>Global
Properties</b> page you choose the background colour, the text colour, the
font, size and style of the Title and of the Blurb, how Blurb pictures are
fitted, and whether the menu has a Title and Blurb at all. With
<b>Absolute positioning</b> ticked the applet is as large as the whole
surface; without it, the applet is trimmed to the area that your buttons,
Title and Blurb cover.</p>

<h2><a name="context-400">Buttons</a></h2>
<p>Each button of the menu is a picture on the design surface. Click a
button to select it: a frame appears around it, and the Title and Blurb
areas now show the texts this button brings up when the visitor's mouse is
on it. Type into them to change those texts.</p>
<p>Drag a button to move it. Near its edges and corners the mouse pointer
turns into a sizing arrow: drag there to make the button larger or
smaller. As the mouse passes over a button, the surface shows the button's
mouse-over picture, as the finished menu will. Right-click a button for its
menu.</p>

<h3><a name="context-5">Adding and editing buttons</a></h3>
<p><b>Add Button</b> puts a new button with the standard pictures on the
surface; it follows the mouse until you click to drop it in place. You can
also add a button with <b>Add Button</b> in the right-click menu of the
design surface.</p>
<p><b>Edit Button</b> opens the properties of the selected button (as does
<b>Properties</b> in the button's right-click menu): its position and size,
its pictures, the link it follows and what changes when the mouse is over
it. <b>Delete Button</b> removes the selected button after asking you.</p>

<h3><a name="context-6">Button properties: General</a></h3>
<p>On the <b>General</b> page you set where the button is (<b>From
Top</b>, <b>From Left</b>) and its size (<b>Width</b>, <b>Height</b>), all
in pixels; the picture is stretched to that size. <b>Image</b> is the
button's normal picture (GIF, JPEG, PNG, BMP, TIFF or PCX); <b>Choose
Image...</b> finds it for you and the preview shows it.</p>
<p><b>Click URL</b> is the page the button opens; <b>Choose File...</b>
picks a local file. <b>Target</b> is the frame or window it opens in:
<b>_self</b> (the same frame), <b>_top</b> (the whole window),
<b>_parent</b>, <b>_blank</b> (a new window) or the name of one of your
frames. Tick <b>Make URL Relative Upon Compilation</b> to have a local
file written relative to your project's folder.</p>

<h3><a name="context-14">Button properties: Mouse Over</a></h3>
<p>The <b>Mouse Over</b> page says what happens while the visitor's mouse
is on the button. Under <b>Button changes</b>: the <b>New Image</b> the
button shows (its mouse-over picture) and the <b>AU Sound</b> it plays (Sun
audio, .au). Under <b>Title and Blurb changes</b>: the <b>Title Text</b>
and <b>Blurb Text</b> the menu shows, or a <b>Blurb Image</b> shown in the
Blurb area instead of the text.</p>

<h3><a name="context-20">The button menu</a></h3>
<p>Right-click a button for these commands: <b>Move</b> picks the button
up so that it follows the mouse until you click; <b>Remove</b> deletes it
(after asking); <b>Properties</b> opens its properties.</p>

<h3><a name="context-44">Moving things</a></h3>
<p><b>Move</b> in the right-click menu of a button, of the Title or of the
Blurb area picks it up: it follows the mouse, holding the point you
clicked, until you click again to put it down. You can also simply drag
with the left mouse button. Whatever is dropped partly left of or above the
surface's top left corner is put back at its edge.</p>

<h2><a name="context-3">Title and Blurb</a></h2>
<p>The <b>Title</b> line and the <b>Blurb</b> area show text that changes
with the button under the visitor's mouse. They always show the texts of
the current selection: with a button selected, that button's texts; with
the background selected, the texts the menu starts with. Type straight into
them. The lines break on the page exactly where they break here.</p>
<p>Drag an area to move it, or drag its edges to resize it. If you would
rather select text with the mouse, turn dragging off in
<a href="#options">Options</a>. Right-click an area for <b>Move</b> and
<b>Properties</b>.</p>

<h3><a name="context-43">The background's Title and Blurb</a></h3>
<p>The <b>Mouse Over Title and Blurb changes</b> page of the Background
Options holds the <b>Title Text</b> and <b>Blurb Text</b> the menu shows
while the mouse is on no button, and a <b>Blurb Image</b> to show instead
of the blurb text.</p>

<h3><a name="context-19">The background menu</a></h3>
<p>Right-click an empty part of the design surface for <b>Add Button</b>
(a new button that follows the mouse until you click) and
<b>Properties</b> (the Background Options).</p>

<h2><a name="saving">Saving</a></h2>
<p><b>Save</b> writes the design into a Quillmap project file
(<code>.qmf</code>); the first time it asks for a name. <b>Open</b> loads a
project and <b>New</b> starts again with the standard design. When the
design has changes that are not saved, New, Open and Quit ask whether to
save them first. The window's caption shows the project's name.</p>

<h2><a name="compile">Compile</a></h2>
<p><b>Compile</b> writes the applet code for your menu and puts it on the
clipboard: paste it into your web page where the menu should appear. The
project has to be saved first, because every picture, sound and link is
written relative to the project's folder; so keep the project file in the
folder of the web page. Sound files are copied into that folder.</p>
<p>Quillmap then offers to copy the applet's class files into the folder as
well. They are needed beside the page; answer <b>No</b> when they are
already there.</p>

<h2><a name="preview">Preview</a></h2>
<p><b>Preview</b> shows the menu working in your web browser. Quillmap
writes a small page into its own <code>tmp</code> folder, copies the
applet and every picture and sound of the design beside it and opens it in
the browser chosen in <a href="#options">Options</a>. Your design and
project file are not changed, and the design need not be saved.</p>

<h2><a name="options">Options</a></h2>
<p><b>Default Browser</b> is the browser program Preview uses.
<b>Splash Screen</b> chooses what you see at start-up: the splash with its
sound, the splash without sound, or no splash. <b>Disable Title and Blurb
Drag and Drop</b> lets a mouse drag in the Title and Blurb areas select
text instead of moving them.</p>

</body>
</html>
)html";
    return QByteArray(page);
}
