<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props>
    <fields><field name="Agenda" type="4">VGhpcyBpcyBub3QgYSB6bGliIHN0cmVhbQ==</field></fields>
  </props>
</message>
