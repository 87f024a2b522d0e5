<?xml version="1.0" encoding="UTF-8"?>
<message>
  <id><account>Robin Ashdown</account><mapi>1.2.3</mapi><class>GW.MESSAGE.TASK</class></id>
  <props>
    <task>
      <accepted>true</accepted><autodate>false</autodate><completed>false</completed>
    </task>
  </props>
</message>
