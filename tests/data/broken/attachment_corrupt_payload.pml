<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props>
    <body><plain>The attachment below is damaged.</plain></body>
    <attachments>
      <attach display-name="damaged.txt" file-name="damaged.txt">
        <![CDATA[VGhpcyBpcyBub3Qg
YSB6bGliIHN0cmVhbQ==]]>
      </attach>
    </attachments>
  </props>
</message>
