<?xml version="1.0" encoding="ISO-8859-1"?>
<message><id><class>GW.MESSAGE.MAIL</class><account>Café</account><mapi>1</mapi></id></message>
