<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id><account>Robin Ashdown</account><mapi>1.2.3</mapi></id>
</message>
