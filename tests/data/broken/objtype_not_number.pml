<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props>
    <attachments><attach display-name="a.txt" obj-type="file"/></attachments>
  </props>
</message>
